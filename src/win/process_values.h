// Values fixed once at start-up and read by the modes: the product data
// folders, the KRLM.ini delivery flags and the transport library.
#pragma once

#include <string>

#include "win/config_sources.h"
#include "win/suite_library.h"

namespace tiqora {

struct ProductFolders {
    std::wstring productData;  // <common application data>\Orvantis
    std::wstring itTicket;     // product data folder\IT TICKET
    std::wstring pending;      // IT ticket folder\P, at most 511 characters
    std::wstring sent;         // IT ticket folder\S: the records of sent tickets
    std::wstring requestHistory;  // product data folder\Tiqora.ini: the support requests made
    std::wstring ticketIni;       // IT ticket folder\Tiqora.ini: the tickets' ids and GUIDs
};

// Pending-folder paths are kept to 511 characters, as the suite's own tools
// expect; a longer path is cut.
inline constexpr size_t kPendingFolderMaxChars = 511;

ProductFolders productFoldersUnder(const std::wstring& commonAppData);
// The folders under this machine's common application-data folder.
ProductFolders productFolders();

// Folder of the running executable, without a trailing backslash.
std::wstring installFolder();

// The suite's libraries, in the install folder's QXSCAN folder.
std::wstring transportLibraryPathIn(const std::wstring& installFolder);       // WBX.DLL
std::wstring intranetPolicyLibraryPathIn(const std::wstring& installFolder);  // DPXIntraPol.dll

// The application's title: the executable's file name without extension
// ("TiqoraDesk"), the caption of its standard message boxes.
std::wstring applicationTitle();

struct ProcessValues {
    ProductFolders folders;
    KrlmFlags flags;
    std::wstring transportLibraryPath;  // install folder\QXSCAN\WBX.DLL
    TransportLibrary startupTransport;  // loaded at start-up, or empty
    bool showMainWindow = true;         // cleared in the IT ticket and reply modes
};

}  // namespace tiqora
