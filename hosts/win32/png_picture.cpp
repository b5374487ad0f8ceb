#include "hosts/win32/png_picture.h"

#include <wincodec.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <optional>

#include "hosts/win32/com_object.h"
#include "hosts/win32/gdi_canvas.h"
#include "platform/files/file_replace.h"
#include "platform/files/path_text.h"

namespace zav::win32 {
namespace {

constexpr int kBytesPerPixel = 4;  // blue, green, red, unused

// A memory device context with a top-down 32-bit DIB section selected into it, undone with
// the object.
class PictureSurface {
 public:
  explicit PictureSurface(PixelSize size) : context_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.width;
    info.bmiHeader.biHeight = -size.height;  // negative: the first row is the top one
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (context_ != nullptr) {
      bitmap_ = CreateDIBSection(context_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    }
    if (bitmap_ != nullptr) {
      original_ = SelectObject(context_, bitmap_);
    }
  }
  ~PictureSurface() {
    if (bitmap_ != nullptr) {
      SelectObject(context_, original_);
      DeleteObject(bitmap_);
    }
    if (context_ != nullptr) {
      DeleteDC(context_);
    }
  }
  PictureSurface(const PictureSurface&) = delete;
  PictureSurface& operator=(const PictureSurface&) = delete;

  bool Made() const { return bitmap_ != nullptr && bits_ != nullptr; }
  HDC Context() const { return context_; }
  const void* Bits() const { return bits_; }

 private:
  HDC context_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ original_ = nullptr;
  void* bits_ = nullptr;
};

// An error code as "0x8007000e", which a search for it finds.
std::string Hex(HRESULT result) {
  std::array<char, 8> digits{};  // 32 bits
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(),
                                 static_cast<std::uint32_t>(result), 16)
                       .ptr;
  return "0x" + std::string(digits.data(), end);
}

// The whole of a stream's contents.
std::optional<std::vector<std::uint8_t>> StreamBytes(IStream& stream) {
  STATSTG facts{};
  if (FAILED(stream.Stat(&facts, STATFLAG_NONAME)) ||
      FAILED(stream.Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr))) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(facts.cbSize.QuadPart));
  ULONG read = 0;
  if (FAILED(stream.Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)) ||
      read != bytes.size()) {
    return std::nullopt;
  }
  return bytes;
}

// The imaging component's steps, each run only while the ones before succeeded; the first
// failure is kept.
struct Steps {
  HRESULT result = S_OK;
  template <typename Call>
  Steps& Then(Call call) {
    if (SUCCEEDED(result)) {
      result = call();
    }
    return *this;
  }
};

// Encodes into `stream`: one frame of the pixels, in whichever pixel format the PNG encoder
// takes (it converts the 32-bit pixels itself).
HRESULT WritePng(IWICImagingFactory& factory, const PicturePixels& pixels, IStream& stream) {
  const auto width = static_cast<UINT>(pixels.size.width);
  const auto height = static_cast<UINT>(pixels.size.height);
  ComObject<IWICBitmap> bitmap;
  ComObject<IWICBitmapEncoder> encoder;
  ComObject<IWICBitmapFrameEncode> frame;
  ComObject<IPropertyBag2> options;
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
  Steps steps;
  steps
      .Then([&] {
        // The bitmap takes a copy of the pixels; the call only reads them.
        return factory.CreateBitmapFromMemory(width, height, GUID_WICPixelFormat32bppBGR,
                                              width * kBytesPerPixel,
                                              static_cast<UINT>(pixels.bgrx.size()),
                                              const_cast<BYTE*>(pixels.bgrx.data()), bitmap.Out());
      })
      .Then([&] { return factory.CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out()); })
      .Then([&] { return encoder->Initialize(&stream, WICBitmapEncoderNoCache); })
      .Then([&] { return encoder->CreateNewFrame(frame.Out(), options.Out()); })
      .Then([&] { return frame->Initialize(options.Get()); })
      .Then([&] { return frame->SetSize(width, height); })
      .Then([&] { return frame->SetPixelFormat(&format); })
      .Then([&] { return frame->WriteSource(bitmap.Get(), nullptr); })
      .Then([&] { return frame->Commit(); })
      .Then([&] { return encoder->Commit(); });
  return steps.result;
}

}  // namespace

PicturePixels DrawPicture(PixelSize size, HFONT font, const std::function<void(Canvas&)>& draw) {
  const PixelSize picture{std::max(size.width, 1), std::max(size.height, 1)};
  const PictureSurface surface(picture);
  if (!surface.Made()) {
    return {};
  }
  const RECT whole{0, 0, picture.width, picture.height};
  FillRect(surface.Context(), &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  {
    GdiCanvas canvas(surface.Context(), font);
    canvas.Begin();
    draw(canvas);
  }
  GdiFlush();  // GDI may still hold drawing back from the bits
  PicturePixels pixels{picture, std::vector<std::uint8_t>(static_cast<std::size_t>(picture.width) *
                                                          picture.height * kBytesPerPixel)};
  std::memcpy(pixels.bgrx.data(), surface.Bits(), pixels.bgrx.size());
  return pixels;
}

std::vector<std::uint8_t> EncodePng(const PicturePixels& pixels, std::string& failure) {
  const ComApartment apartment;
  ComObject<IWICImagingFactory> factory;
  ComObject<IStream> stream;
  Steps steps;
  steps
      .Then([&] {
        return CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()));
      })
      .Then([&] { return CreateStreamOnHGlobal(nullptr, TRUE, stream.Out()); })
      .Then([&] { return WritePng(*factory.Get(), pixels, *stream.Get()); });
  std::optional<std::vector<std::uint8_t>> bytes;
  if (SUCCEEDED(steps.result)) {
    bytes = StreamBytes(*stream.Get());
  }
  if (!bytes) {
    failure = "Windows could not make a PNG picture of it (error " +
              Hex(FAILED(steps.result) ? steps.result : E_FAIL) + ")";
    return {};
  }
  return *bytes;
}

std::string SavePngPicture(const std::string& path, PixelSize size, HFONT font,
                           const std::function<void(Canvas&)>& draw) {
  const std::string failed = "The picture could not be saved as " + path + ": ";
  const PicturePixels pixels = DrawPicture(size, font, draw);
  if (pixels.bgrx.empty()) {
    return failed + "there is not enough memory for a picture of " +
           std::to_string(std::max(size.width, 1)) + " by " +
           std::to_string(std::max(size.height, 1)) + " pixels. Make the window smaller.";
  }
  std::string encodeFailure;
  const std::vector<std::uint8_t> png = EncodePng(pixels, encodeFailure);
  if (png.empty()) {
    return failed + encodeFailure + ".";
  }
  if (const std::optional<std::string> reason = ReplaceFileContents(PathFromUtf8(path), png)) {
    return failed + *reason + ". Choose another folder or file name.";
  }
  return {};
}

}  // namespace zav::win32
