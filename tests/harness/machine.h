// The suite installation that a test runs against, laid out in the Wine
// prefix of the test run: the install folder with TiqoraDesk.exe and QXSCAN\,
// the suite's registry values (configuration key, its 32-bit view, the legacy
// per-user key), C:\ProgramData\Orvantis with KRLM.ini and friends, and C:\qx.
//
// Each test states the machine it needs in a few lines:
//
//     auto machine = SuiteMachine::standard()
//                        .krlm(L"SendWebRpt", L"OFF")
//                        .set(RegistrySource::LegacyUser, L"City", L"Nashik");
//
// standard() first wipes whatever an earlier test left, so tests are
// independent of their order: the suite's registry values and folders, the
// browser routes and the opened-pages log, the .jpg handler, the DPI of new
// programs (96) and the vendor services' scenario ("success").
#pragma once

#include <string>

#include "win/config_sources.h"

namespace tiqora::test {

class SuiteMachine {
public:
    // A machine on which the suite is installed as a customer has it: sample
    // customer details in the configuration key, KRLM.ini delivering by web,
    // ServerIP.ini naming the LAN server and QXPath.ini, the suite's
    // libraries in QXSCAN\ and its remote-support tool, the vendor hosts
    // pointed at the local vendor services (when they run), every browser
    // route, and C:\qx.
    static SuiteMachine standard();
    // Only the program in its install folder and an empty product data
    // folder: no registry values, no ini files, no libraries, no browser,
    // no C:\qx.
    static SuiteMachine bare();
    // The machine as an earlier call laid it out, for changes on top of it
    // (nothing is wiped).
    static SuiteMachine existing() { return SuiteMachine(); }

    // Registry string value in one source (REG_SZ).
    SuiteMachine& set(RegistrySource source, const std::wstring& name, const std::wstring& value);
    SuiteMachine& remove(RegistrySource source, const std::wstring& name);
    // A value of another type, for readers that expect strings.
    SuiteMachine& setDword(RegistrySource source, const std::wstring& name, unsigned long value);

    // A key of an ini file in the product data folder.
    SuiteMachine& ini(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                      const std::wstring& value);
    SuiteMachine& krlm(const std::wstring& key, const std::wstring& value) { return ini(L"KRLM.ini", L"data", key, value); }
    SuiteMachine& removeProductFile(const std::wstring& file);

    // Installs a DLL of the build as QXSCAN\WBX.DLL (or removes it: empty name).
    SuiteMachine& transportLibrary(const std::wstring& builtDll);
    // Copies a file of the build into QXSCAN\ under its own name.
    SuiteMachine& qxscanFile(const std::wstring& builtFile, const std::wstring& nameThere);

    // Offers exactly these browser routes (BrowserRoute bits), see
    // browser_routes.h.
    SuiteMachine& browserRoutes(unsigned routes);
    // A vendor host of TiqoraDesk.ini ("CallTracking", "WebConsole", ...).
    SuiteMachine& vendorHost(const std::wstring& key, const std::wstring& host);

    SuiteMachine& withLogFolder();
    SuiteMachine& withoutLogFolder();

    // A system library (file name without ".dll", e.g. L"bcrypt") that
    // TiqoraDesk.exe cannot load, as on a damaged Windows: nor can the
    // libraries that need it. Wine's per-program DLL override "disabled"
    // stands in for the missing file (Windows has no such switch: there the
    // library would have to be gone from the system folder).
    SuiteMachine& systemLibraryMissing(const std::wstring& name);

    // A file of the pending folder, written as these bytes; the IT ticket
    // folder with its sent and pending folders is made first, as the IT
    // ticket form makes it.
    SuiteMachine& pendingFile(const std::wstring& name, const std::string& bytes);
    // A key of the IT ticket folder's Tiqora.ini (contact values, ticket
    // lists); the IT ticket folders are made first.
    SuiteMachine& ticketIni(const std::wstring& section, const std::wstring& key, const std::wstring& value);

    static const std::wstring& installFolder();
    static std::wstring qxscanFolder() { return installFolder() + L"\\QXSCAN"; }
    static std::wstring program() { return installFolder() + L"\\TiqoraDesk.exe"; }
    static std::wstring productDataFolder() { return L"C:\\ProgramData\\Orvantis"; }
    static std::wstring logFolder() { return L"C:\\qx"; }
    static std::wstring ticketLogPath() { return L"C:\\qx\\Vandrel.log"; }
    static std::wstring feedbackLogPath() { return L"C:\\qx\\Feedback.log"; }
    static std::wstring itTicketFolder() { return productDataFolder() + L"\\IT TICKET"; }
    static std::wstring sentFolder() { return itTicketFolder() + L"\\S"; }
    static std::wstring pendingFolder() { return itTicketFolder() + L"\\P"; }

    // The IT ticket log as bytes (empty when missing).
    static std::string ticketLog();
    // The feedback log as bytes (empty when missing).
    static std::string feedbackLog();

private:
    SuiteMachine() = default;
    static void wipe();
    static void makeTicketFolders();
};

// What opens a .jpg file: with `recorder`, the browser stand-in, which
// records it among the opened pages (standard()); without, nothing (bare()).
// Wine's own viewer, an iexplore that keeps running, is never offered.
void setPictureViewer(bool recorder);

// The system DPI (Wine's LogPixels) of the programs started from now on:
// Wine reads it once at each process start. Throws std::runtime_error when
// the setting cannot be written.
void setDpiOfNewPrograms(unsigned long dpi);

// Deletes a folder and everything below it; true when it is gone.
bool deleteTree(const std::wstring& folder);

// Makes the install folder the current folder while it lives, as it is for
// the program: CreateProcessW looks for chrome.exe in the current folder of
// the process that starts it.
class InInstallFolder {
public:
    InInstallFolder();
    ~InInstallFolder();
    InInstallFolder(const InInstallFolder&) = delete;
    InInstallFolder& operator=(const InInstallFolder&) = delete;

private:
    std::wstring previous_;
};

}  // namespace tiqora::test
