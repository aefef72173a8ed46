// Undo and redo of edits of the design case, as whole snapshots of the case store.
//
// A step is one committed change of the case: a field left with a new value (with its copies
// to later spans), a list pick, an option button, a spinner step, a flag click with its
// presets, or a change made by another part of the program. The history knows no widgets:
// whoever changes the store calls record() after the change; after undo() or redo() the forms
// are refilled from the store.
//
// The editing state is not part of a step: the case name, file name, folder and the named
// flag stay as they are, so an undo never renames the case or moves its file.
#pragma once

#include <cstddef>
#include <vector>

#include "case_store.h"

namespace solvow {

// Whether the two stores hold the same case, their editing state aside.
bool sameCase(const CaseStore& a, const CaseStore& b);

class CaseHistory {
 public:
  static constexpr std::size_t kLimit = 100;  // oldest steps are forgotten beyond this

  // Forgets every step; `store` is the state the next change starts from (Open, New).
  void reset(const CaseStore& store);

  // Records one step when the case in `store` differs from the state last recorded; the
  // steps that could be redone are forgotten then. Returns whether a step was recorded.
  bool record(const CaseStore& store);

  bool canUndo() const { return !m_undo.empty(); }
  bool canRedo() const { return !m_redo.empty(); }

  // The case in `store` goes back to the state before the last step (undo) or forward to the
  // state after the step last undone (redo); the case is marked changed and its diagram taken
  // away, as after any edit. False, and nothing changes, when there is no such step.
  bool undo(CaseStore& store);
  bool redo(CaseStore& store);

 private:
  // `store` takes the case of `state` and keeps its own editing state.
  void restore(CaseStore& store, const CaseStore& state);
  // Moves the last state of `from` into `store`, the current one onto `to`.
  bool step(std::vector<CaseStore>& from, std::vector<CaseStore>& to, CaseStore& store);

  CaseStore m_current;  // the case as last recorded or restored
  std::vector<CaseStore> m_undo;
  std::vector<CaseStore> m_redo;
};

}  // namespace solvow
