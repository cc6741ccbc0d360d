// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QDialog;

// Shows a box and waits for its answer, as each system can: one
// implementation per system, chosen by the build (modalrun.cpp,
// modalrun_web.cpp). Returns the dialog's result.
int runModal(QDialog &dialog);
