// Pictures saved by the Windows host, read back from the file with the system's imaging
// component: a PNG of the size asked, on a white ground, with the drawing's boxes, lines and
// text where the drawing put them (in the dialog's font, as on the screen), under a name with
// letters beyond ASCII; a save over an earlier picture replaces it and leaves nothing beside
// it; a save into a folder that does not exist says so and writes nothing.
#include <gtest/gtest.h>
#include <wincodec.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "hosts/win32/com_object.h"
#include "hosts/win32/win32_desktop.h"
#include "platform/files/path_text.h"

namespace zav {

// Readable failures: colours as (red, green, blue), sizes as width x height.
void PrintTo(Colour colour, std::ostream* out) {
  *out << '(' << int{colour.red} << ", " << int{colour.green} << ", " << int{colour.blue} << ')';
}
void PrintTo(PixelSize size, std::ostream* out) {
  *out << size.width << " x " << size.height;
}

namespace {

using win32::ComObject;

constexpr Colour kGreen{10, 200, 30};
constexpr Colour kRed{255, 0, 0};
constexpr Colour kWhite{255, 255, 255};
constexpr PixelSize kPictureSize{120, 80};  // px, wider than tall: a turned picture shows
constexpr PixelBox kBox{10, 10, 40, 30};
constexpr std::array<PixelPoint, 3> kLine{{{5, 50}, {60, 50}, {60, 75}}};
constexpr PixelPoint kTextAt{70, 4};
constexpr int kPictureTimer = 3;

struct ReadPicture {
  std::string failure;  // empty when read
  UINT width = 0;       // px
  UINT height = 0;      // px
  std::vector<std::uint8_t> bgra;

  Colour At(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)) * 4;
    return {bgra[at + 2], bgra[at + 1], bgra[at]};
  }
};

// The file as the imaging component decodes it, whatever pixel format the file holds.
ReadPicture ReadPng(const std::filesystem::path& file) {
  ReadPicture read;
  const win32::ComApartment apartment;
  ComObject<IWICImagingFactory> factory;
  ComObject<IWICBitmapDecoder> decoder;
  ComObject<IWICBitmapFrameDecode> frame;
  ComObject<IWICFormatConverter> converter;
  GUID container{};
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()))) ||
      FAILED(factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
      FAILED(decoder->GetContainerFormat(&container)) ||
      FAILED(decoder->GetFrame(0, frame.Out())) ||
      FAILED(frame->GetSize(&read.width, &read.height)) ||
      FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom))) {
    read.failure = "not a picture the imaging component reads";
    return read;
  }
  if (container != GUID_ContainerFormatPng) {
    read.failure = "not a PNG file";
    return read;
  }
  read.bgra.resize(std::size_t{read.width} * read.height * 4);
  if (FAILED(converter->CopyPixels(nullptr, read.width * 4, static_cast<UINT>(read.bgra.size()),
                                   read.bgra.data()))) {
    read.failure = "the pixels could not be read";
  }
  return read;
}

std::string FirstBytes(const std::filesystem::path& file, std::size_t count) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes(count, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(count));
  return bytes.substr(0, static_cast<std::size_t>(in.gcount()));
}

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files.push_back(entry.path().filename());
  }
  return files;
}

struct TextSeen {
  PixelSize onScreen;   // "Ab" measured on the dialog's own canvas
  PixelSize inPicture;  // and in the picture
};

void DrawKnownPicture(Canvas& canvas, TextSeen& text) {
  canvas.FillRectangle(kBox, kGreen);
  canvas.SetPen(kRed);
  canvas.Polyline(kLine);
  text.inPicture = canvas.MeasureText("Ab");
  canvas.SetTextColour({0, 0, 0});
  canvas.PlacedText({kTextAt, TextAlign::Start, TextAlign::Start}, "Ab");
}

constexpr DialogTemplate kSavingTemplate{.id = 9103, .title = "Saving", .rect = {10, 10, 120, 60}};

class Win32SavedPicture : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("zav-picture-test-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // Saves as the chart windows do: from a dialog that is open.
  std::string SaveFromDialog(const std::filesystem::path& file, PixelSize size, TextSeen& text) {
    std::string failure = "not saved";
    desktop_.RunDialog(
        kSavingTemplate, WindowRef{}, [&](Desktop& d, WindowRef self, const DialogEvent& event) {
          if (event.message == DialogMessage::Init) {
            d.SetTimer(self, kPictureTimer, 10);
          } else if (event.message == DialogMessage::Timer) {
            d.KillTimer(self, kPictureTimer);
            text.onScreen = d.CanvasOf(self).MeasureText("Ab");
            failure = d.SavePicture(Utf8FromPath(file), size,
                                    [&](Canvas& canvas) { DrawKnownPicture(canvas, text); });
            d.EndDialog(self, 0);
          }
          return true;
        });
    return failure;
  }

  Win32Desktop desktop_;
  std::filesystem::path folder_;
};

TEST_F(Win32SavedPicture, IsAPngOfTheDrawingOnWhiteInTheDialogFont) {
  // "Diagramm ü €.png": a name the ANSI code page cannot hold.
  const std::filesystem::path file = folder_ / PathFromUtf8("Diagramm \xc3\xbc \xe2\x82\xac.png");
  TextSeen text;
  ASSERT_EQ(SaveFromDialog(file, kPictureSize, text), "");
  EXPECT_EQ(FirstBytes(file, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  const ReadPicture picture = ReadPng(file);
  ASSERT_EQ(picture.failure, "");
  ASSERT_EQ(picture.width, 120u);
  ASSERT_EQ(picture.height, 80u);

  EXPECT_EQ(picture.At(0, 0), kWhite);
  EXPECT_EQ(picture.At(119, 79), kWhite);
  EXPECT_EQ(picture.At(100, 70), kWhite);
  EXPECT_EQ(picture.At(kBox.left, kBox.top), kGreen);
  EXPECT_EQ(picture.At(kBox.right - 1, kBox.bottom - 1), kGreen);
  EXPECT_EQ(picture.At(kBox.right, kBox.bottom), kWhite);
  EXPECT_EQ(picture.At(kBox.left - 1, kBox.top), kWhite);
  EXPECT_EQ(picture.At(5, 50), kRed);
  EXPECT_EQ(picture.At(59, 50), kRed);
  EXPECT_EQ(picture.At(60, 62), kRed);
  EXPECT_EQ(picture.At(30, 49), kWhite) << "one pixel wide";
  EXPECT_EQ(picture.At(30, 51), kWhite) << "one pixel wide";
  EXPECT_EQ(picture.At(4, 50), kWhite);

  EXPECT_EQ(text.inPicture, text.onScreen);
  ASSERT_GT(text.inPicture.width, 0);
  int ink = 0;
  for (int y = 0; y < static_cast<int>(picture.height); ++y) {
    for (int x = kBox.right + 1; x < static_cast<int>(picture.width); ++x) {
      const bool inside = x >= kTextAt.x && x < kTextAt.x + text.inPicture.width &&
                          y >= kTextAt.y && y < kTextAt.y + text.inPicture.height;
      if (picture.At(x, y).red < 128) {
        EXPECT_TRUE(inside) << "ink outside the text's box at " << x << "," << y;
        ink += inside ? 1 : 0;
      }
    }
  }
  EXPECT_GT(ink, 0) << "the text was drawn";
}

TEST_F(Win32SavedPicture, ReplacesAnEarlierPictureAndAFailedSaveSaysWhyAndWritesNothing) {
  const std::filesystem::path file = folder_ / "chart.png";
  TextSeen text;
  ASSERT_EQ(SaveFromDialog(file, kPictureSize, text), "");
  ASSERT_EQ(SaveFromDialog(file, {60, 40}, text), "");
  const ReadPicture replaced = ReadPng(file);
  ASSERT_EQ(replaced.failure, "");
  EXPECT_EQ(replaced.width, 60u);
  EXPECT_EQ(replaced.height, 40u);
  EXPECT_EQ(replaced.At(kBox.left, kBox.top), kGreen);
  EXPECT_EQ(FilesIn(folder_), std::vector<std::filesystem::path>{"chart.png"})
      << "nothing left beside the picture";

  const std::filesystem::path missing = folder_ / "no such folder" / "chart.png";
  const std::string failure = SaveFromDialog(missing, kPictureSize, text);
  EXPECT_NE(failure.find("could not be saved as " + Utf8FromPath(missing)), std::string::npos)
      << failure;
  EXPECT_NE(failure.find("Choose another folder"), std::string::npos) << failure;
  EXPECT_FALSE(std::filesystem::exists(folder_ / "no such folder"));
  EXPECT_EQ(FilesIn(folder_), std::vector<std::filesystem::path>{"chart.png"});
}

}  // namespace
}  // namespace zav
