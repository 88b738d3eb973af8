#pragma once
// The per-record renderer the frame's batch replaces: every shape of every record in its own
// glBegin/glEnd with the matrix calls of the drawing rules. The GL tests compare the batch's
// pixels with it and the frame benchmark times it.

struct Firework;

void DrawFireworkImmediate(Firework& firework);

// Every live record in slot order.
void DrawPassImmediate();

// RenderFrame with the per-record renderer in place of the batch.
void RenderFrameImmediate();
