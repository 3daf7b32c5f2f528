#pragma once

// The process-wide administrator mode flag. Set once at start-up, before any worker thread runs.
bool IsAdminMode();
void SetAdminMode(bool on);
