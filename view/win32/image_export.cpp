// Rendering the document into 24-bit bitmap bands with PaintCells and the
// view's GDI surface, and streaming the bands into a WIC PNG encoder that
// writes a temporary file of our own.
#include "view/win32/image_export.h"

#include <wincodec.h>

#include <algorithm>
#include <atomic>

#include "common/win32/wide_text.h"
#include "framework/dib_canvas.h"
#include "settings/win32/settings.h"
#include "view/paint_cells.h"
#include "view/win32/gdi_surface.h"

namespace mosaikon {
namespace {

// An owned COM interface pointer.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (pointer_) pointer_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T* operator->() const { return pointer_; }
  T* get() const { return pointer_; }
  // For a call that hands out a new reference; the old one is released.
  T** Put() {
    if (pointer_) pointer_->Release();
    pointer_ = nullptr;
    return &pointer_;
  }

 private:
  T* pointer_ = nullptr;
};

// The encoder's stream onto a file handle. It keeps the first failure of a
// write: the PNG encoder answers any failure of its stream with a failure of
// its own, which says nothing about a full disk or a lost network drive. It
// lives on the exporting function's stack, longer than the encoder that
// holds it, so its reference count only answers the callers.
class FileStream final : public IStream {
 public:
  explicit FileStream(HANDLE file) : file_(file) {}
  HRESULT writeFailure() const { return writeFailure_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISequentialStream) || IsEqualIID(iid, IID_IStream)) {
      *object = static_cast<IStream*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }

  HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* done) override {
    DWORD read = 0;
    const BOOL ok = ReadFile(file_, buffer, size, &read, nullptr);
    if (done) *done = read;
    if (!ok) return HRESULT_FROM_WIN32(GetLastError());
    return read == size ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG size, ULONG* done) override {
    DWORD written = 0;
    const BOOL ok = WriteFile(file_, buffer, size, &written, nullptr);
    if (done) *done = written;
    if (ok && written == size) return S_OK;
    // A short write without an error is a full disk on some systems.
    const HRESULT failure = HRESULT_FROM_WIN32(ok ? ERROR_DISK_FULL : GetLastError());
    if (writeFailure_ == S_OK) writeFailure_ = failure;
    return failure;
  }
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
    LARGE_INTEGER now{};
    if (!SetFilePointerEx(file_, move, &now, origin)) return HRESULT_FROM_WIN32(GetLastError());
    if (position) position->QuadPart = static_cast<ULONGLONG>(now.QuadPart);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override {
    LARGE_INTEGER here{}, end{};
    end.QuadPart = static_cast<LONGLONG>(size.QuadPart);
    if (!SetFilePointerEx(file_, LARGE_INTEGER{}, &here, FILE_CURRENT) ||
        !SetFilePointerEx(file_, end, nullptr, FILE_BEGIN) || !SetEndOfFile(file_) ||
        !SetFilePointerEx(file_, here, nullptr, FILE_BEGIN))
      return HRESULT_FROM_WIN32(GetLastError());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* status, DWORD) override {
    if (!status) return E_POINTER;
    *status = STATSTG{};
    status->type = STGTY_STREAM;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_, &size)) return HRESULT_FROM_WIN32(GetLastError());
    status->cbSize.QuadPart = static_cast<ULONGLONG>(size.QuadPart);
    status->grfMode = STGM_READWRITE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

 private:
  HANDLE file_;
  ULONG references_ = 1;
  HRESULT writeFailure_ = S_OK;
};

HRESULT WritePng(const TextDocument& document, PixelSize cell, const ImagePlan& plan, HANDLE file,
                 ExportProgress* progress) {
  FileStream stream(file);
  HRESULT result = S_OK;
  {
    ComRef<IWICImagingFactory> factory;
    result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.Put()));
    if (FAILED(result)) return result;
    ComRef<IWICBitmapEncoder> encoder;
    if (FAILED(result = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put()))) return result;
    if (FAILED(result = encoder->Initialize(&stream, WICBitmapEncoderNoCache))) return result;
    ComRef<IWICBitmapFrameEncode> frame;
    if (FAILED(result = encoder->CreateNewFrame(frame.Put(), nullptr))) return result;
    if (FAILED(result = frame->Initialize(nullptr))) return result;
    if (FAILED(result = frame->SetSize(static_cast<UINT>(plan.width), static_cast<UINT>(plan.height)))) return result;
    // The encoder may answer with the nearest format it has; only BGR rows
    // are what the bitmap holds.
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(result = frame->SetPixelFormat(&format))) return result;
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) return WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;

    const int bandHeight = std::min(plan.bandRows * cell.cy, plan.height);
    const DibCanvas band(plan.width, bandHeight, 24);
    if (!band.ok()) return E_OUTOFMEMORY;
    const auto stride = static_cast<UINT>(BitmapRowBytes(plan.width));
    const Settings& settings = TheSettings();
    for (int top = 0; top < plan.height && SUCCEEDED(result); top += bandHeight) {
      const int rows = std::min(bandHeight, plan.height - top);
      PaintInput input = SettingsPaintInput(document, cell, settings);
      input.offset = {0, top};
      input.client = {plan.width, rows};
      {
        // Painting draws the rows from `top` on at the band's own top.
        GdiSurface surface(band.dc(), settings);
        PaintCells(input, surface);
      }
      GdiFlush();
      result = frame->WritePixels(static_cast<UINT>(rows), stride, stride * static_cast<UINT>(rows),
                                  static_cast<BYTE*>(band.bits()));
      if (SUCCEEDED(result) && progress && !progress->Advance(top + rows, plan.height)) result = E_ABORT;
    }
    if (SUCCEEDED(result)) result = frame->Commit();
    if (SUCCEEDED(result)) result = encoder->Commit();
  }
  return FAILED(result) && FAILED(stream.writeFailure()) ? stream.writeFailure() : result;
}

// A path the system's functions take whatever its length: beyond MAX_PATH a
// full path needs the long form ("\\?\C:\..." or "\\?\UNC\server\...").
std::wstring LongForm(const std::wstring& path) {
  if (path.size() < MAX_PATH || path.starts_with(L"\\\\?\\")) return path;
  if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + path.substr(2);
  if (path.size() > 2 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  return path;
}

// A new, empty file "mknXXXX.tmp" in `folder` (ending with a separator),
// opened for writing, and its name. The name is made here rather than by
// GetTempFileName, which takes a folder of at most MAX_PATH - 14 characters
// (and under Wine writes past its buffer for a longer one, leaving files of
// garbled names behind); the long form serves a folder of any length.
FileHandle CreateTemporaryFile(const std::wstring& folder, std::wstring& name) {
  static std::atomic<unsigned> counter{0};
  const unsigned seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
  for (int attempt = 0; attempt < 256; ++attempt) {
    wchar_t leaf[16];
    wsprintfW(leaf, L"mkn%04X.tmp", (seed + counter++) & 0xFFFF);
    name = LongForm(folder + leaf);
    FileHandle file(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)) return file;
  }
  return FileHandle();
}

}  // namespace

HRESULT ExportImage(const TextDocument& document, PixelSize cell, const ImagePlan& plan, const std::string& path,
                    ExportProgress* progress) {
  if (plan.width <= 0 || plan.height <= 0) return E_INVALIDARG;
  const std::wstring target = Wide(path);
  const std::size_t slash = target.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? std::wstring(L".\\") : target.substr(0, slash + 1);
  std::wstring temporary;
  FileHandle file = CreateTemporaryFile(folder, temporary);
  if (!file) return HRESULT_FROM_WIN32(GetLastError());
  HRESULT result = WritePng(document, cell, plan, file.get(), progress);
  // Closing may still write what the system held back.
  if (!CloseHandle(file.Release()) && SUCCEEDED(result)) result = HRESULT_FROM_WIN32(GetLastError());
  if (SUCCEEDED(result) &&
      !MoveFileExW(temporary.c_str(), LongForm(target).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
    result = HRESULT_FROM_WIN32(GetLastError());
  if (FAILED(result)) DeleteFileW(temporary.c_str());
  return result;
}

}  // namespace mosaikon
