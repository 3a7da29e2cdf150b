#include "ui/file_save.h"

#include "core/error_text.h"
#include "ui/error.h"
#include "ui/handles.h"
#include "ui/text.h"
#include "ui/win.h"

#include <algorithm>
#include <vector>

namespace ui {

namespace {

[[noreturn]] void ThrowCannotCreate(const std::wstring& path, DWORD code) {
    throw Error(tarvel::CannotCreateFileText(Narrow(path), SystemErrorText(code)));
}

// Removes the temporary file unless the save completed.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!kept_) {
            DeleteFileW(path_.c_str());
        }
    }
    const std::wstring& path() const { return path_; }
    void keep() { kept_ = true; }

  private:
    std::wstring path_;
    bool kept_ = false;
};

} // namespace

void SaveFileReplacing(const std::wstring& path, std::string_view bytes) {
    std::vector<wchar_t> full(32768);
    wchar_t* namePart = nullptr;
    const DWORD n =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &namePart);
    if (n == 0 || n >= full.size() || namePart == nullptr) {
        ThrowCannotCreate(path, n == 0 ? GetLastError() : ERROR_INVALID_NAME);
    }
    const std::wstring target(full.data());
    const std::wstring folder(full.data(), static_cast<size_t>(namePart - full.data()));

    // An existing file must be ours to replace: not read-only, not held by another program.
    {
        File existing(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!existing) {
            const DWORD code = GetLastError();
            if (code != ERROR_FILE_NOT_FOUND) {
                ThrowCannotCreate(target, code);
            }
        }
    }

    wchar_t tempName[MAX_PATH + 1] = {};
    if (GetTempFileNameW(folder.c_str(), L"trv", 0, tempName) == 0) {
        ThrowCannotCreate(target, GetLastError());
    }
    TemporaryFile temp(tempName);
    {
        File file(CreateFileW(temp.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            ThrowCannotCreate(target, GetLastError());
        }
        size_t done = 0;
        while (done < bytes.size()) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
            if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) ||
                written == 0) {
                throw Error(tarvel::kFailedToSaveStream);
            }
            done += written;
        }
        if (!FlushFileBuffers(file.get())) {
            throw Error(tarvel::kFailedToSaveStream);
        }
        HANDLE h = file.release();
        if (!CloseHandle(h)) {
            throw Error(tarvel::kFailedToSaveStream);
        }
    }
    if (!MoveFileExW(temp.path().c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ThrowCannotCreate(target, GetLastError());
    }
    temp.keep();
}

} // namespace ui
