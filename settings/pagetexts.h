// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

// The words the settings pages show, written once: the form fills its tabs
// and combo boxes from these lists, and the settings catalogue shows a
// value with the same item text the pilot sees on the page. Each list is in
// item-index order, the order the record stores.

namespace pagetexts {

inline const std::vector<const char *> kNorRev = {"NOR", "REV"};
inline const std::vector<const char *> kNc = {"NC"};
inline const std::vector<const char *> kAuxSources = {"SwA",     "SwB",  "VrA",
                                                      "VrB/SwC", "NULL", "Lock-C"};
inline const std::vector<const char *> kOffOn = {"OFF", "ON"};
inline const std::vector<const char *> kCh1to4 = {"CH1", "CH2", "CH3", "CH4"};
inline const std::vector<const char *> kSwa = {"SWA"};
inline const std::vector<const char *> kAttiChannels = {"CH5", "CH6", "CH7", "CH8", "OFF"};
inline const std::vector<const char *> kUpDown = {"UP", "DOWN"};
inline const std::vector<const char *> kInhOffOn = {"INH", "OFF", "ON"};
inline const std::vector<const char *> kCh1to8 = {"CH1", "CH2", "CH3", "CH4",
                                                  "CH5", "CH6", "CH7", "CH8"};
inline const std::vector<const char *> kVersion = {"V5.1"};

// The tab texts, in tab order.
inline const char *const kTabTexts[6] = {"SERVO",    "BASIC",    "ADVANCE1",
                                         "ADVANCE2", "PROG.MIX", "SYSTEM"};

} // namespace pagetexts
