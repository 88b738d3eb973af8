#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/hud.h"
#include "engine/overlay.h"
#include "engine/show.h"
#include "render/draw_list_gl.h"

// The simulation draws no GL, so running it first leaves the pixels as the frame's order gives
// them: sky and overlays, then the title, then the fireworks.
void Show::RenderFrame() {
    glClearColor(0, 0, 0, 1);
    // With blending the depth test stays off all frame, so the depth buffer is never read: clearing
    // it would only cost a pass over the whole window.
    glClear(GL_COLOR_BUFFER_BIT | (settings.alphaBlending ? 0 : GL_DEPTH_BUFFER_BIT));
    glLoadIdentity();
    gluLookAt(0, -80, 1, 0, 0, 34, 0, 0, 1);
    ShowFrameResult frame = Step();

    SavedBlend blend = BeginOverlay(width, height);
    stars.Draw();
    if (showBorder) DrawWindowBorder(width, height);
    if (showFrameRate || frameRateAlwaysShown) DrawFrameRate(font, frame.dt, width, height);
    EndOverlay(blend);

    if (frame.titleShown) DrawTitle(font, showTime);
    SubmitDrawList(drawList);
}
