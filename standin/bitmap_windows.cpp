// Resources: decoding the TIFF icons on Windows, with the system's own codecs (Windows Imaging
// Component). MinGW has no libtiff; WIC reads every TIFF flavour the module ships (LZW, deflate,
// uncompressed, with or without alpha). The POSIX build decodes with libtiff (bitmap.cpp).
#ifdef _WIN32

#include <windows.h>
#include <wincodec.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "resources.h"

namespace standin {

namespace {

// Releases a COM interface when it goes out of scope.
template <typename T>
struct ComPtr {
  T* p = nullptr;
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (p) p->Release();
  }
  T** operator&() { return &p; }
  T* operator->() const { return p; }
};

std::string HresultText(HRESULT hr) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%08lx", static_cast<unsigned long>(hr));
  return buf;
}

// COM for the calling thread, for as long as one decode takes.
struct ComScope {
  bool owned = false;
  ComScope() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    owned = SUCCEEDED(hr);  // RPC_E_CHANGED_MODE: the thread has COM already, in another mode
  }
  ~ComScope() {
    if (owned) CoUninitialize();
  }
};

}  // namespace

std::unique_ptr<GmBitmap> LoadTiff(const std::string& path, double pixel_ratio, std::string* why) {
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) {
    *why = path + ": no image codecs on this system (" + HresultText(hr) + ")";
    return nullptr;
  }
  const std::wstring wpath = std::filesystem::u8path(path).wstring();
  ComPtr<IWICBitmapDecoder> decoder;
  hr = factory->CreateDecoderFromFilename(wpath.c_str(), &GUID_ContainerFormatTiff, GENERIC_READ,
                                          WICDecodeMetadataCacheOnDemand, &decoder);
  if (FAILED(hr)) {
    *why = path + ": not a readable TIFF (" + HresultText(hr) + ")";
    return nullptr;
  }
  ComPtr<IWICBitmapFrameDecode> frame;
  UINT w = 0, h = 0;
  WICPixelFormatGUID format{};
  if (FAILED(hr = decoder->GetFrame(0, &frame)) || FAILED(hr = frame->GetSize(&w, &h)) ||
      FAILED(hr = frame->GetPixelFormat(&format))) {
    *why = path + ": cannot be decoded (" + HresultText(hr) + ")";
    return nullptr;
  }
  if (w == 0 || h == 0 || w > 16384 || h > 16384) {
    *why = path + ": unusable image size";
    return nullptr;
  }

  // Decode for real: an icon that cannot be decoded counts as unreadable.
  ComPtr<IWICFormatConverter> converter;
  std::vector<BYTE> pixels(static_cast<size_t>(w) * h * 4);
  if (FAILED(hr = factory->CreateFormatConverter(&converter)) ||
      FAILED(hr = converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA,
                                        WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom)) ||
      FAILED(hr = converter->CopyPixels(nullptr, w * 4, static_cast<UINT>(pixels.size()),
                                        pixels.data()))) {
    *why = path + ": cannot be decoded (" + HresultText(hr) + ")";
    return nullptr;
  }

  // Alpha: whether the file's own pixel format carries transparency.
  BOOL alpha = FALSE;
  ComPtr<IWICComponentInfo> info;
  ComPtr<IWICPixelFormatInfo2> format_info;
  if (SUCCEEDED(factory->CreateComponentInfo(format, &info)) &&
      SUCCEEDED(info->QueryInterface(IID_IWICPixelFormatInfo2,
                                     reinterpret_cast<void**>(&format_info)))) {
    format_info->SupportsTransparency(&alpha);
  }

  auto bmp = std::make_unique<GmBitmap>();
  bmp->width = static_cast<int32_t>(w);
  bmp->height = static_cast<int32_t>(h);
  bmp->alpha = alpha != FALSE;
  bmp->pixel_ratio = pixel_ratio;
  return bmp;
}

}  // namespace standin

#endif  // _WIN32
