#include "engine/render_frame.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/engine_state.h"
#include "engine/hud.h"
#include "engine/hud_layout.h"
#include "engine/overlay.h"
#include "engine/show.h"
#include "fireworks/draw_list.h"
#include "render/draw_list_gl.h"
#include "render/star_field.h"

static DrawList s_frameDrawList;

void RenderFrame() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(0, -80, 1, 0, 0, 34, 0, 0, 1);
    double dt = MeasureTimeStep();

    BeginOverlay(g_windowWidth, g_windowHeight);
    g_starField.Draw();
    if (g_showBorder) DrawWindowBorder();
    if (FrameRateShown()) DrawFrameRate(dt);
    EndOverlay();

    s_frameDrawList.Clear();
    ShowFrameResult shown = SimulateShowFrame(dt, s_frameDrawList, nullptr);
    // The title belongs before the fireworks; the list is only submitted below, so drawing it now
    // keeps that order, and it draws no random numbers, so the simulation is unchanged.
    if (shown.titleShown) DrawTitle(g_showTime);
    SubmitDrawList(s_frameDrawList);
}
