// The Moon scene on OpenGL 1.1: a textured sphere in a display list, 32 units away, tilted
// 15 degrees toward the viewer and turned about its polar axis by a fixed step per frame.
#include "moon_scene.h"

#include <windows.h>
#include <GL/gl.h>

#include <string>
#include <vector>

#include "bmp.h"
#include "program_folder.h"
#include "sphere.h"
#include "spin.h"

#ifdef HALVANE_BENCH
#include "bench_probe.h"  // timing builds of bench/ only
#else
#define BenchStep(name) ((void)0)
#endif

namespace {

std::string ProgramFolder;  // the renderer's own folder, ending in its separator
GLuint MoonTexture = 0;
GLuint SphereList = 0;
float SpinAngle = 0.0f;     // degrees, never brought back into 0..360
float SpinStep = 0.0f;      // degrees per frame
float SceneOffsetZ = 0.0f;

bool IsAnsiLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) != FALSE;
}

// The full path of the program's file in the ANSI code page, however long it is.
std::string ProgramFilePath() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) return std::string(buffer.data(), length);
    if (buffer.size() >= 32768) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

void SetupScene() {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glShadeModel(GL_SMOOTH);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  SpinStep = halvane::kSpinStep;
  glEnable(GL_TEXTURE_2D);
  ProgramFolder = halvane::FolderOfPath(ProgramFilePath(), IsAnsiLeadByte);
  BenchStep("state");
  LoadBmpTexture((ProgramFolder + "Halvane.bmp").c_str(), MoonTexture);
  BenchStep("texture");
  BuildSphereList(48, 10.0f, 0.0f, 0.0f, 0.0f);
  BenchStep("sphere");
  SceneOffsetZ = -32.0f;
}

void DrawMoonFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, SceneOffsetZ);
  glRotatef(15.0f, 1.0f, 0.0f, 0.0f);
  glRotatef(SpinAngle, 0.0f, 1.0f, 0.0f);
  glBindTexture(GL_TEXTURE_2D, MoonTexture);
  glCallList(SphereList);
  SpinAngle = halvane::AdvanceSpin(SpinAngle, SpinStep);
}

void BuildSphereList(std::int32_t n, float r, float cx, float cy, float cz) {
  const halvane::SphereMesh mesh = halvane::BuildSphere(n, r, cx, cy, cz);
  SphereList = glGenLists(1);
  glNewList(SphereList, GL_COMPILE);
  if (mesh.singlePoint) {
    glBegin(GL_POINTS);
    glVertex3f(mesh.vertices[0].x, mesh.vertices[0].y, mesh.vertices[0].z);
    glEnd();
  } else {
    const halvane::SphereVertex* v = mesh.vertices.data();
    for (std::int64_t band = 0; band < mesh.bands; ++band) {
      glBegin(GL_QUAD_STRIP);
      for (std::int64_t k = 0; k < mesh.stripLength; ++k, ++v) {
        glTexCoord2f(v->s, v->t);
        glVertex3f(v->x, v->y, v->z);
      }
      glEnd();
    }
  }
  glEndList();
}
