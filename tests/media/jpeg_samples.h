#pragma once
// JPEG files made for the decoder's tests: four coloured quadrants in every colour model, scan
// scripts no encoder writes, and forged frame sizes.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/result.h"

namespace jpegsamples {

using Rgb = std::array<int, 3>;

// Four quadrants, so that a decoder that swaps channels, rows or halves shows it.
constexpr std::array<Rgb, 4> kQuadrants = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}};
constexpr std::array<int, 4> kGreyQuadrants = {0, 85, 170, 255};

inline int QuadrantOf(int x, int y, int width, int height) {
  return (x >= width / 2 ? 1 : 0) + (y >= height / 2 ? 2 : 0);
}

enum class Model { Rgb, Grey, AdobeCmyk, PlainCmyk, AdobeYcck };

struct Picture {
  int width = 64;
  int height = 48;
  Model model = Model::Rgb;
  bool progressive = false;
  std::vector<jpeg_scan_info> scans;  // an explicit scan script, when not empty
  bool grain = false;                 // noise of +-6, so that the file is large
  bool flat = false;                  // one colour, every row alike: quick to make at any size
  bool fullColour = false;            // colour at full resolution (4:4:4) rather than 4:2:0
};

// Samples of one pixel in the encoder's input colour space. CMYK inks are written inverted when
// an Adobe marker says so, as Photoshop does.
inline std::vector<JSAMPLE> Samples(const Picture& picture, int x, int y) {
  const int q = QuadrantOf(x, y, picture.width, picture.height);
  const Rgb& rgb = kQuadrants[q];
  switch (picture.model) {
    case Model::Rgb: return {JSAMPLE(rgb[0]), JSAMPLE(rgb[1]), JSAMPLE(rgb[2])};
    case Model::Grey: return {JSAMPLE(kGreyQuadrants[q])};
    case Model::PlainCmyk:
      return {JSAMPLE(255 - rgb[0]), JSAMPLE(255 - rgb[1]), JSAMPLE(255 - rgb[2]), 0};
    case Model::AdobeCmyk:
    case Model::AdobeYcck: return {JSAMPLE(rgb[0]), JSAMPLE(rgb[1]), JSAMPLE(rgb[2]), 255};
  }
  return {};
}

inline std::string Encode(const Picture& picture) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(picture.width);
  cinfo.image_height = static_cast<JDIMENSION>(picture.height);
  const bool cmyk = picture.model != Model::Rgb && picture.model != Model::Grey;
  cinfo.input_components = picture.model == Model::Grey ? 1 : cmyk ? 4 : 3;
  cinfo.in_color_space = picture.model == Model::Grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  if (picture.model == Model::AdobeYcck) jpeg_set_colorspace(&cinfo, JCS_YCCK);
  if (picture.model == Model::PlainCmyk) cinfo.write_Adobe_marker = FALSE;
  if (picture.fullColour) cinfo.comp_info[0].h_samp_factor = cinfo.comp_info[0].v_samp_factor = 1;
  if (picture.progressive) jpeg_simple_progression(&cinfo);
  if (!picture.scans.empty()) {
    cinfo.scan_info = picture.scans.data();
    cinfo.num_scans = static_cast<int>(picture.scans.size());
  }
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row;
  while (cinfo.next_scanline < cinfo.image_height) {
    if (picture.flat && !row.empty()) {
      JSAMPROW same[1] = {row.data()};
      jpeg_write_scanlines(&cinfo, same, 1);
      continue;
    }
    row.clear();
    for (int x = 0; x < picture.width; ++x) {
      std::vector<JSAMPLE> pixel = Samples(picture, picture.flat ? 0 : x, static_cast<int>(cinfo.next_scanline));
      if (picture.grain)
        for (JSAMPLE& sample : pixel) sample = JSAMPLE(std::clamp(sample + std::rand() % 13 - 6, 0, 255));
      row.insert(row.end(), pixel.begin(), pixel.end());
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string bytes(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

// A grey progressive script of 1 + 63 * (al + 1) scans: every AC coefficient in a band of its own,
// refined one bit at a time. Legal, and far more scans than any encoder writes.
inline std::vector<jpeg_scan_info> ManyScans(int al) {
  std::vector<jpeg_scan_info> scans;
  scans.push_back({1, {0}, 0, 0, 0, 0});
  for (int k = 1; k <= 63; ++k) {
    scans.push_back({1, {0}, k, k, 0, al});
    for (int bit = al; bit > 0; --bit) scans.push_back({1, {0}, k, k, bit, bit - 1});
  }
  return scans;
}

// The failure's message; "(no error)" for a success, so that a comparison shows which it was.
template <typename T>
std::string ErrorOf(const platform::Result<T>& result) {
  return result ? "(no error)" : result.error();
}

// The value; an empty one after failing the test with the failure's message.
template <typename T>
T ValueOf(platform::Result<T> result) {
  if (result) return std::move(*result);
  ADD_FAILURE() << result.error();
  return T();
}

// Sets the size in the first frame header (baseline or progressive).
inline std::string WithDeclaredSize(std::string jpeg, int width, int height) {
  std::size_t sof = jpeg.find("\xFF\xC0");
  if (sof == std::string::npos) sof = jpeg.find("\xFF\xC2");
  EXPECT_NE(sof, std::string::npos);
  jpeg[sof + 5] = static_cast<char>(height >> 8);
  jpeg[sof + 6] = static_cast<char>(height & 0xFF);
  jpeg[sof + 7] = static_cast<char>(width >> 8);
  jpeg[sof + 8] = static_cast<char>(width & 0xFF);
  return jpeg;
}

}  // namespace jpegsamples
