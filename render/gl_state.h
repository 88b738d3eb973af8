#pragma once

// The GL state every frame relies on, set once after the context is made current.
void SetFixedGLState();

// With alpha blending the shapes add up (GL_ONE, GL_DST_ALPHA) and nothing is depth-tested;
// without it the depth test decides and blending is off.
void SetBlendState(bool alphaBlending);
