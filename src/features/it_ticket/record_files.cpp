#include "features/it_ticket/record_files.h"

#include <windows.h>

#include <algorithm>
#include <functional>

#include "win/files.h"
#include "win/ticket_log.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

// How many names are tried before a folder counts as unable to take a record.
constexpr int kNameAttempts = 1000;

RecordWriteHook recordWriteHook = nullptr;

enum class Placed { Written, NameTaken, Failed };

// Whether the process that wrote a temporary may still be writing it: a
// process of that id runs, and it is not this one (whose writes run one
// after the other on its one thread).
bool writerMayBeRunning(std::uint32_t processId) {
    if (processId == GetCurrentProcessId()) return false;
    const KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process) return GetLastError() != ERROR_INVALID_PARAMETER;  // no such process: gone
    return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

// Removes the temporaries that a crashed or killed write left in `folder`.
// Only names of temporaries are touched, never a record, nor a temporary
// kept because it could not take its name (read-only: the only copy of a
// ticket).
void removeLeftoverTemporaries(const std::wstring& folder) {
    forEachFound(folder + L"\\~record-*.part", [&](const WIN32_FIND_DATAW& found) {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return;
        const std::optional<std::uint32_t> writer = recordTemporaryWriter(toUtf8(found.cFileName));
        if (!writer || writerMayBeRunning(*writer)) return;
        DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    });
}

// The bytes in a temporary file of `folder`, closed and flushed; its path, or
// none.
std::optional<std::wstring> writeTemporary(const std::wstring& folder, std::string_view bytes) {
    static std::uint32_t serial = 0;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::wstring path =
            folder + L"\\" + fromUtf8(recordTemporaryName(static_cast<std::uint32_t>(GetCurrentProcessId()), ++serial));
        KernelHandle file;
        retryWhileHeld([&] {
            file.reset(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            return file.valid();
        });
        if (!file) {
            if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS) continue;
            return std::nullopt;
        }
        bool ok = writeWholeFile(file.get(), bytes);
        ok = FlushFileBuffers(file.get()) && ok;
        file.reset();
        if (ok) return path;
        DeleteFileW(path.c_str());
        return std::nullopt;
    }
    return std::nullopt;
}

// Gives the file at `source` the name `finalPath`, unless that name is taken.
// A scanner holding the file for a moment only delays it.
Placed place(const std::wstring& source, const std::wstring& finalPath) {
    if (retryWhileHeld([&] { return MoveFileExW(source.c_str(), finalPath.c_str(), MOVEFILE_WRITE_THROUGH) != 0; }))
        return Placed::Written;
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return Placed::NameTaken;
    // Another kind of failure may still be a name that exists (a folder of
    // that name, a file that cannot be opened): try the next name then too.
    if (GetFileAttributesW(finalPath.c_str()) != INVALID_FILE_ATTRIBUTES) return Placed::NameTaken;
    return Placed::Failed;
}

// Gives the file at `source` the first free name of `folder` that
// `candidate` (0, 1, 2, ...) offers; the path, or none.
std::optional<std::wstring> placeUnderFirstFreeName(const std::wstring& source, const std::wstring& folder,
                                                    const std::function<std::string(int)>& candidate) {
    for (int n = 0; n < kNameAttempts; ++n) {
        const std::wstring path = folder + L"\\" + fromUtf8(candidate(n));
        switch (place(source, path)) {
        case Placed::Written:
            return path;
        case Placed::NameTaken:
            continue;
        case Placed::Failed:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<std::wstring> writeUnderFirstFreeName(const std::wstring& folder, std::string_view bytes,
                                                    const std::function<std::string(int)>& candidate) {
    removeLeftoverTemporaries(folder);
    const std::optional<std::wstring> temporary = writeTemporary(folder, bytes);
    if (!temporary) return std::nullopt;
    if (recordWriteHook) recordWriteHook(*temporary);
    std::optional<std::wstring> path = placeUnderFirstFreeName(*temporary, folder, candidate);
    if (!path) {
        // The temporary is the only copy of the ticket: it stays, marked so
        // that no later write takes it for a crashed one, and the log says
        // where it is.
        SetFileAttributesW(temporary->c_str(), FILE_ATTRIBUTE_READONLY);
        const std::string temporaryPath = toAnsi(*temporary);
        writeTicketLog("Ticket record kept under its temporary name, it could not take its own: " + temporaryPath);
    }
    return path;
}

// The folder and the name of a path.
std::pair<std::wstring, std::wstring> splitPath(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {L".", path};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

std::optional<std::wstring> writeSentRecord(const std::wstring& sentFolder, TicketKind kind,
                                            std::string_view ticketId, std::string_view bytes) {
    return writeUnderFirstFreeName(sentFolder, bytes,
                                   [&](int n) { return sentRecordCandidate(kind, ticketId, n + 1); });
}

std::optional<std::wstring> writePendingRecord(const std::wstring& pendingFolder, TicketKind kind,
                                               std::uint32_t tickCount, std::string_view bytes) {
    return writeUnderFirstFreeName(pendingFolder, bytes, [&](int n) {
        return pendingRecordName(kind, tickCount + static_cast<std::uint32_t>(n));
    });
}

std::optional<std::wstring> moveRecordUnderFirstFreeName(const std::wstring& source, const std::wstring& destination) {
    const auto [folder, name] = splitPath(destination);
    const std::string firstChoice = toUtf8(name);
    std::optional<std::wstring> moved =
        placeUnderFirstFreeName(source, folder, [&](int n) { return recordNameCandidate(firstChoice, n + 1); });
    // A record an earlier version left hidden is shown from now on.
    if (moved) {
        const DWORD attributes = GetFileAttributesW(moved->c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN))
            SetFileAttributesW(moved->c_str(), attributes & ~FILE_ATTRIBUTE_HIDDEN);
    }
    return moved;
}

void setRecordWriteHookForTests(RecordWriteHook hook) { recordWriteHook = hook; }

}  // namespace tiqora
