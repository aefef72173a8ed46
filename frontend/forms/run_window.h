// The window side of a run of the engine: the message boxes of the gate and of the outcome,
// the question "Kör ändå" / "Avbryt", the hourglass, and the small window "Beräkning pågår ..."
// with "Avbryt" that appears when the engine takes a while.
#pragma once

#include "engine_run.h"

class QWidget;

namespace solvow {

// Gives `run` the message boxes, the question, the hourglass and the waiting window, all
// modal over `parent`. Hooks `run` already has are kept.
void attachRunWindows(EngineRun& run, QWidget* parent);

// Asks `question` with "Kör ändå" and "Avbryt" ("Avbryt" the default); true for "Kör ändå".
bool askRunAnyway(const QString& question, QWidget* parent);

}  // namespace solvow
