// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Whether the PulseAudio server the game would reach is PipeWire's (pipewire-pulse). Asked
// before Qt starts; false when no server answers within a moment.
bool soundServerIsPipeWire();
