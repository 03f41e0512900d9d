// The Moon scene: GL state, texture and sphere list set up once (SetupScene), and one
// frame drawn per call (DrawMoonFrame). Needs the renderer's GL context current.
#pragma once

#include <cstdint>

// GL state, "Halvane.bmp" from the program's own folder, the sphere list. Ends the program
// with exit code 1 when the texture cannot be loaded.
void SetupScene();

// Clears, places and turns the sphere, draws it; then advances the spin by one step.
void DrawMoonFrame();

// Compiles the sphere of n segments, radius r, centre (cx, cy, cz) into a new list whose
// name is left in SphereList.
void BuildSphereList(std::int32_t n, float r, float cx, float cy, float cz);
