#include "harness/machine.h"

#include <windows.h>

#include <stdexcept>

#include "harness/browser_routes.h"
#include "harness/test_paths.h"
#include "harness/vendor_journal.h"
#include "win/wide_text.h"

namespace tiqora::test {

namespace {

void check(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error("machine set-up failed: " + what + " (error " + std::to_string(GetLastError()) + ")");
}

// Where each source lives, written out here as the administrator's guide
// lists the keys (section 2.1), not taken from the program's own table: a
// program that reads a key the guide does not name finds nothing the tests
// wrote. The Windows key is the system's own and is never written.
struct SuiteKey {
    HKEY root;
    const wchar_t* path;
};

SuiteKey suiteKeyOf(RegistrySource source) {
    switch (source) {
    case RegistrySource::SuiteConfig: return {HKEY_LOCAL_MACHINE, L"SOFTWARE\\Kelvane\\Orvantis\\Config"};
    case RegistrySource::SuiteConfig32: return {HKEY_LOCAL_MACHINE, L"SOFTWARE\\Wow6432Node\\Kelvane\\Orvantis\\Config"};
    case RegistrySource::LegacyUser:
        return {HKEY_CURRENT_USER, L"SOFTWARE\\VB and VBA Program Settings\\ZORVEXGUARD\\Config"};
    case RegistrySource::OperatingSystem: break;
    }
    throw std::runtime_error("machine set-up failed: the tests write no value into the Windows key");
}

HKEY createKey(RegistrySource source) {
    const SuiteKey where = suiteKeyOf(source);
    HKEY key = nullptr;
    const LONG status = RegCreateKeyExW(where.root, where.path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    check(status == ERROR_SUCCESS, "create key " + toUtf8(where.path));
    return key;
}

void copyBuilt(const std::wstring& builtName, const std::wstring& destination) {
    const std::wstring source = buildFile(builtName);
    check(CopyFileW(source.c_str(), destination.c_str(), FALSE) != 0, "copy " + toUtf8(source));
}

// The program's own DLL overrides in the Wine machine.
constexpr wchar_t kProgramDllOverrides[] = L"Software\\Wine\\AppDefaults\\TiqoraDesk.exe\\DllOverrides";

void createFolder(const std::wstring& folder) {
    check(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS,
          "create folder " + toUtf8(folder));
}

}  // namespace

bool deleteTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                deleteTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
    return GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

const std::wstring& SuiteMachine::installFolder() {
    static const std::wstring folder = L"C:\\Program Files\\Kelvane\\Orvantis";
    return folder;
}

void SuiteMachine::wipe() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Kelvane");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Wow6432Node\\Kelvane");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\VB and VBA Program Settings\\ZORVEXGUARD");
    check(deleteTree(installFolder()), "clear the install folder (is a program of an earlier test still running?)");
    check(deleteTree(productDataFolder()), "clear the product data folder");
    check(deleteTree(logFolder()), "clear C:\\qx");
    RegDeleteTreeW(HKEY_CURRENT_USER, kProgramDllOverrides);
    withholdBrowserRoutes(installFolder());
}

SuiteMachine SuiteMachine::bare() {
    wipe();
    setDpiOfNewPrograms(96);
    setPictureViewer(false);
    createFolder(L"C:\\Program Files\\Kelvane");
    createFolder(installFolder());
    createFolder(qxscanFolder());
    createFolder(productDataFolder());
    copyBuilt(L"TiqoraDesk.exe", program());
    return SuiteMachine();
}

SuiteMachine SuiteMachine::standard() {
    SuiteMachine machine = bare();
    const std::pair<const wchar_t*, const wchar_t*> customer[] = {
        {L"LicenseCode", L"TQ4711-2026-ORV"},  {L"Logstr1", L"31/12/2027"},
        {L"InstallationUserName", L"Asha Verma"}, {L"City", L"Pune"},
        {L"state", L"Maharashtra"},               {L"District", L"Pune"},
        {L"InstallationEmailID", L"asha.verma@example.com"},
        {L"MobileNo", L"9876543210"},             {L"CorporateID", L"CORP-1001"},
    };
    for (const auto& [name, value] : customer) machine.set(RegistrySource::SuiteConfig, name, value);
    machine.krlm(L"SendWebRpt", L"ON").krlm(L"SendLocalRpt", L"").krlm(L"ITTicketServer", L"");
    machine.ini(L"QXPath.ini", L"QXPATH", L"QXPATH", qxscanFolder());
    machine.transportLibrary(L"WBX.DLL").qxscanFile(L"DPXIntraPol.dll", L"DPXIntraPol.dll");
    copyBuilt(L"HALDORIN.EXE", installFolder() + L"\\HALDORIN.EXE");

    // The vendor's services and the LAN server are the local fakes, when the
    // test run started them.
    std::wstring lanServer = L"127.0.0.1";
    try {
        const std::wstring vendor = L"127.0.0.1:" + std::to_wstring(vendorPort());
        for (const wchar_t* key : {L"CallTracking", L"HelpDeskMail", L"FeedbackPage", L"WebConsole", L"PendingTickets"})
            machine.vendorHost(key, vendor);
        lanServer += L":" + std::to_wstring(lanPort());
        setVendorScenario("success");
    } catch (const std::runtime_error&) {
        // No vendor services: the compiled-in hosts stay, and nothing answers.
    }
    machine.ini(L"ServerIP.ini", L"Server", L"ACIP", lanServer).ini(L"ServerIP.ini", L"Server", L"IP", L"127.0.0.1");
    machine.browserRoutes(AllRoutes);
    machine.withLogFolder();
    setPictureViewer(true);
    return machine;
}

SuiteMachine& SuiteMachine::set(RegistrySource source, const std::wstring& name, const std::wstring& value) {
    HKEY key = createKey(source);
    const LONG status = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    check(status == ERROR_SUCCESS, "set " + toUtf8(name));
    return *this;
}

SuiteMachine& SuiteMachine::setDword(RegistrySource source, const std::wstring& name, unsigned long value) {
    HKEY key = createKey(source);
    const DWORD data = value;
    const LONG status = RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
    check(status == ERROR_SUCCESS, "set " + toUtf8(name));
    return *this;
}

SuiteMachine& SuiteMachine::remove(RegistrySource source, const std::wstring& name) {
    const SuiteKey where = suiteKeyOf(source);
    RegDeleteKeyValueW(where.root, where.path, name.c_str());
    return *this;
}

SuiteMachine& SuiteMachine::ini(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                                const std::wstring& value) {
    const std::wstring path = productDataFolder() + L"\\" + file;
    check(WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != 0,
          "write " + toUtf8(path));
    return *this;
}

SuiteMachine& SuiteMachine::removeProductFile(const std::wstring& file) {
    DeleteFileW((productDataFolder() + L"\\" + file).c_str());
    return *this;
}

SuiteMachine& SuiteMachine::transportLibrary(const std::wstring& builtDll) {
    const std::wstring target = qxscanFolder() + L"\\WBX.DLL";
    if (builtDll.empty()) {
        DeleteFileW(target.c_str());
    } else {
        copyBuilt(builtDll, target);
    }
    return *this;
}

SuiteMachine& SuiteMachine::qxscanFile(const std::wstring& builtFile, const std::wstring& nameThere) {
    copyBuilt(builtFile, qxscanFolder() + L"\\" + nameThere);
    return *this;
}

SuiteMachine& SuiteMachine::browserRoutes(unsigned routes) {
    offerBrowserRoutes(routes, installFolder());
    return *this;
}

SuiteMachine& SuiteMachine::vendorHost(const std::wstring& key, const std::wstring& host) {
    const std::wstring file = installFolder() + L"\\TiqoraDesk.ini";
    check(WritePrivateProfileStringW(L"Hosts", key.c_str(), host.c_str(), file.c_str()) != 0, "write " + toUtf8(file));
    return *this;
}

SuiteMachine& SuiteMachine::withLogFolder() {
    createFolder(logFolder());
    return *this;
}

SuiteMachine& SuiteMachine::withoutLogFolder() {
    check(deleteTree(logFolder()), "remove C:\\qx");
    return *this;
}

SuiteMachine& SuiteMachine::systemLibraryMissing(const std::wstring& name) {
    // An empty load order: the library is disabled.
    check(RegSetKeyValueW(HKEY_CURRENT_USER, kProgramDllOverrides, name.c_str(), REG_SZ, L"", sizeof(wchar_t)) ==
              ERROR_SUCCESS,
          "disable " + toUtf8(name) + " for the program");
    return *this;
}

SuiteMachine& SuiteMachine::pendingFile(const std::wstring& name, const std::string& bytes) {
    makeTicketFolders();
    writeFileBytes(pendingFolder() + L"\\" + name, bytes);
    return *this;
}

SuiteMachine& SuiteMachine::ticketIni(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    makeTicketFolders();
    const std::wstring path = itTicketFolder() + L"\\Tiqora.ini";
    check(WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != 0,
          "write " + toUtf8(path));
    return *this;
}

void SuiteMachine::makeTicketFolders() {
    for (const std::wstring& folder : {itTicketFolder(), sentFolder(), pendingFolder()}) createFolder(folder);
}

namespace {
constexpr wchar_t kJpgKey[] = L"Software\\Classes\\.jpg";
constexpr wchar_t kRecorderClass[] = L"Software\\Classes\\TiqoraTest.jpg";
}  // namespace

void setPictureViewer(bool recorder) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kRecorderClass);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kJpgKey);
    if (!recorder) return;
    const auto set = [](const wchar_t* key, const std::wstring& value) {
        check(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, nullptr, REG_SZ, value.c_str(),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS,
              "set the .jpg handler");
    };
    set(kJpgKey, L"TiqoraTest.jpg");
    set(L"Software\\Classes\\TiqoraTest.jpg\\shell\\open\\command", std::wstring(L"\"") + kBrowserStandin + L"\" \"%1\"");
}

void setDpiOfNewPrograms(unsigned long dpi) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot open the desktop settings of the registry");
    const DWORD value = dpi;
    const LONG written =
        RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    if (written != ERROR_SUCCESS) throw std::runtime_error("cannot write the DPI setting");
}

std::string SuiteMachine::ticketLog() { return readFileBytes(ticketLogPath()); }
std::string SuiteMachine::feedbackLog() { return readFileBytes(feedbackLogPath()); }

InInstallFolder::InInstallFolder() {
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    previous_.resize(length);
    previous_.resize(GetCurrentDirectoryW(length, previous_.data()));
    SetCurrentDirectoryW(SuiteMachine::installFolder().c_str());
}

InInstallFolder::~InInstallFolder() { SetCurrentDirectoryW(previous_.c_str()); }

}  // namespace tiqora::test
