// The forms library needs at least one source until the windows land.
namespace solvo::forms {}
