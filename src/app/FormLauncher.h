#pragma once

#include <cstdint>

class QWidget;

// Opens the form behind an entry of a main list (key -1: a new entry). Returns QDialog::Accepted
// or Rejected, or CViewSplitRight::kFormNotAvailable while the program has no such form.
int openListForm(QWidget* parent, int listKind, std::int32_t key);
