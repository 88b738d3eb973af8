#pragma once

class DrawList;

// Draws the frame's triangles with GL client vertex and colour arrays.
void SubmitDrawList(const DrawList& list);
