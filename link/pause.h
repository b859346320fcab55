// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Waits the given time while the program keeps running: serial data, the
// display refresh, the pilot's clicks and other timers are all served
// during the wait. It is the only way this program waits.
void pauseMs(int milliseconds);
