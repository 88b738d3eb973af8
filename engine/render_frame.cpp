#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/hud.h"
#include "engine/overlay.h"
#include "engine/show.h"
#include "render/draw_list_gl.h"
#include "render/gl_context.h"

// The simulation draws no GL, so running it first leaves the pixels as the frame's order gives
// them: sky and overlays, then the title, then the fireworks.
void Show::RenderFrame() {
    ClearFrame(settings);
    DrawFrame();
}

void Show::DrawFrame() {
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
