#pragma once

// One complete frame of the show, drawn with the context current; the caller swaps buffers.
void RenderFrame();
