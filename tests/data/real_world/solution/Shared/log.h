#pragma once
// Schreibt eine Zeile ins Protokoll.
void logLine(const char* text);
