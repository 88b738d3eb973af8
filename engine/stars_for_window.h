#pragma once

// Rebuilds the star field for a new window size, as every size message does.
void BuildStarsForWindow(int width, int height);
