// Unit BMP: the Moon texture file read into RGB pixels (ReadBmpFile) and made into a
// mipmapped GL texture (LoadBmpTexture). Messages go to MessageBoxA under "BMP Unit" and
// "Loading Textures"; a texture that cannot be made ends the program with exit code 1.
#pragma once

#include <windows.h>
#include <GL/gl.h>

#include <cstdint>
#include <optional>
#include <vector>

// Reads the bitmap at path (ANSI code page). pixels stays empty when no buffer was made.
void ReadBmpFile(const char* path, std::int32_t& width, std::int32_t& height,
                 std::optional<std::vector<std::uint8_t>>& pixels);

// Makes, binds and fills the texture, its name in texture. Does not return on failure.
void LoadBmpTexture(const char* path, GLuint& texture);
