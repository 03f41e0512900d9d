// Unit BMP on Win32: the file through CreateFileA/ReadFile, the rules in bmp_format.cpp,
// the upload through gluBuild2DMipmaps.
#include "bmp.h"

#include <GL/glu.h>

#include <string>

#include "bmp_format.h"

namespace {

const char kBmpCaption[] = "BMP Unit";
const char kLoadingCaption[] = "Loading Textures";

void ShowMessage(const std::string& text, const char* caption) {
  MessageBoxA(nullptr, text.c_str(), caption, MB_OK);
}

// A file handle read in pieces that ReadFile's 32-bit count can carry.
class FileSource : public halvane::BmpSource {
 public:
  explicit FileSource(HANDLE file) : file_(file) {}
  std::size_t Read(void* destination, std::size_t count) override {
    const DWORD ask = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
    DWORD got = 0;
    if (!ReadFile(file_, destination, ask, &got, nullptr)) return 0;
    return got;
  }

 private:
  HANDLE file_;  // owned by ReadBmpFile
};

}  // namespace

void ReadBmpFile(const char* path, std::int32_t& width, std::int32_t& height,
                 std::optional<std::vector<std::uint8_t>>& pixels) {
  const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ShowMessage(halvane::BmpOpeningErrorText(path), kBmpCaption);
    return;
  }
  FileSource source(file);
  halvane::BmpReadResult result = halvane::ReadBmp(source);
  CloseHandle(file);

  width = result.width;
  height = result.height;
  if (result.hasPixels) pixels = std::move(result.pixels);
  if (!result.message.empty()) ShowMessage(result.message, kBmpCaption);
}

void LoadBmpTexture(const char* path, GLuint& texture) {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::optional<std::vector<std::uint8_t>> pixels;
  ReadBmpFile(path, width, height, pixels);
  if (!pixels) {
    ShowMessage(halvane::BmpUnableToLoadText(path), kLoadingCaption);
    ExitProcess(1);
  }

  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  // The buffer holds at least the rows GL reads (see CheckBmpHeader); the result is not
  // needed: a texture that could not be filled simply stays empty.
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels->data());
  // The pixels are not needed once the levels are built; the texture stays bound.
}
