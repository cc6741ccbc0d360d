// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The two sound cues: wave files in a folder beside the program, kept in
// ui/suoni/ by these names. Plain C++, so that tools/makecues.cpp, the recipe
// that made them, can read it too.
namespace CueFiles {

inline constexpr char Folder[] = "suoni";
inline constexpr char RightAnswer[] = "Esatto.wav";
inline constexpr char WrongAnswer[] = "no.wav";

} // namespace CueFiles
