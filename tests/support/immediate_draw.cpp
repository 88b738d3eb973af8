#include "tests/support/immediate_draw.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/engine_state.h"
#include "engine/overlay.h"
#include "engine/show.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "fireworks/random_table.h"
#include "render/star_field.h"

static double Fade(const Firework& f) {
    return f.fadeTime > 0.00001 ? f.fadeLeft / f.fadeTime : 0.0;
}

static void SteadyColor(const Firework& f) {
    Vec3 c = f.holdTime > 0 ? f.color : f.color * Fade(f);
    glColor3d(c.x, c.y, c.z);
}

void DrawFireworkImmediate(Firework& f) {
    if (f.colorMode == COLOR_FLICKER) {
        double n = NextRandom();
        Vec3 c = f.holdTime > 0 ? f.color * n : f.color * (Fade(f) * n);
        glColor3d(c.x, c.y, c.z);
    } else {
        SteadyColor(f);
    }
    Vec3 at = f.GetDrawPosition();
    if (f.flags & FF_STAR) {
        double s = f.starSize;
        glPushMatrix();
        glTranslated(at.x, at.y, at.z);
        glBegin(GL_POLYGON);
        glVertex3d(s, 0, s);
        glVertex3d(1.414 * s, 0, 0);
        glVertex3d(s, 0, -s);
        glVertex3d(0, 0, -1.414 * s);
        glVertex3d(-s, 0, -s);
        glVertex3d(-1.414 * s, 0, 0);
        glVertex3d(-s, 0, s);
        glVertex3d(0, 0, 1.414 * s);
        glEnd();
        glPopMatrix();
    }
    if ((f.flags & FF_TRAIL) && f.linkSlot >= 0 && f.linkSlot < POOL_SIZE) {
        Firework* linked = g_fireworkPool.slots[f.linkSlot];
        if (!linked || linked->randomId != f.linkId) {
            f.linkSlot = -1;
            f.linkId = 0;
        } else {
            Vec3 b = linked->GetDrawPosition();
            double v = at.x < b.x ? -0.1 : 0.1;
            double u = f.flipTrailOffset == 1 ? -0.1 : 0.1;
            glBegin(GL_QUADS);
            glVertex3d(at.x + v, at.y, at.z + u);
            glVertex3d(at.x - v, at.y, at.z - u);
            SteadyColor(*linked);
            glVertex3d(b.x - v, b.y, b.z - u);
            glVertex3d(b.x + v, b.y, b.z + u);
            glEnd();
        }
    }
    if (f.flags & FF_ROCKET) {
        double speed = f.velocity.Length();
        if (speed > 20.0) speed = 20.0;
        glPushMatrix();
        glTranslated(at.x, at.y, at.z);
        glRotated(f.heading * 57.29582790879778, 0, -1, 0);
        glBegin(GL_QUADS);
        glVertex3d(0.1, 0, 0.1);
        glVertex3d(0.2, 0, 0);
        glVertex3d(0.1, 0, -0.1);
        glColor3d(0, 0, 0);
        glVertex3d(-0.2 * speed, 0, 0);
        glEnd();
        glPopMatrix();
    }
}

void DrawPassImmediate() {
    for (Firework* firework : g_fireworkPool.slots)
        if (firework) DrawFireworkImmediate(*firework);
}

void RenderFrameImmediate() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(0, -80, 1, 0, 0, 34, 0, 0, 1);
    double dt = MeasureTimeStep();

    BeginOverlay(g_windowWidth, g_windowHeight);
    g_starField.Draw();
    EndOverlay();

    AdvanceShowTime(dt);
    if (g_introStage < 5) RunOpeningShow();
    if (g_introStage == SHOW_MAIN_STAGE) RunLaunchScheduler();
    BurstPass(nullptr);
    UpdatePass(dt);
    DrawPassImmediate();
}
