#pragma once

// Process-wide settings the tool makes before anything else runs.

// A file-size limit (ulimit -f) must make a save fail like any other
// failed write, with the old file kept and the pilot told, instead of
// killing the tool with the settings still unsaved.
void ignoreFileSizeSignal();
