#pragma once

// Whether a space-separated extension list (as GLX reports it) names this extension as a whole word.
bool HasExtension(const char* list, const char* name);
