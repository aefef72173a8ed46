#include "case_history.h"

#include <utility>

namespace solvow {
namespace {

// `to` takes the editing state of `from`: what a step never changes.
void copyEditingState(const CaseStore& from, CaseStore& to) {
  to.baseName = from.baseName;
  to.fileName = from.fileName;
  to.folder = from.folder;
  to.programFolder = from.programFolder;
  to.changed = from.changed;
  to.named = from.named;
  to.diagramEnabled = from.diagramEnabled;
}

}  // namespace

bool sameCase(const CaseStore& a, const CaseStore& b) {
  CaseStore left = a;
  copyEditingState(b, left);
  return left == b;
}

void CaseHistory::reset(const CaseStore& store) {
  m_current = store;
  m_undo.clear();
  m_redo.clear();
}

bool CaseHistory::record(const CaseStore& store) {
  if (sameCase(store, m_current)) return false;
  m_undo.push_back(std::move(m_current));
  if (m_undo.size() > kLimit) m_undo.erase(m_undo.begin());
  m_current = store;
  m_redo.clear();
  return true;
}

void CaseHistory::restore(CaseStore& store, const CaseStore& state) {
  CaseStore next = state;
  copyEditingState(store, next);
  markEdited(next);
  store = std::move(next);
  m_current = store;
}

bool CaseHistory::step(std::vector<CaseStore>& from, std::vector<CaseStore>& to, CaseStore& store) {
  if (from.empty()) return false;
  to.push_back(m_current);
  const CaseStore state = std::move(from.back());
  from.pop_back();
  restore(store, state);
  return true;
}

bool CaseHistory::undo(CaseStore& store) { return step(m_undo, m_redo, store); }

bool CaseHistory::redo(CaseStore& store) { return step(m_redo, m_undo, store); }

}  // namespace solvow
