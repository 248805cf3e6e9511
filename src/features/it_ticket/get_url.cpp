#include "features/it_ticket/get_url.h"

#include <windows.h>


#include "core/it_ticket/lan_address.h"
#include "win/config_sources.h"
#include "win/internet.h"
#include "win/ticket_log.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

constexpr wchar_t kAgent[] = L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727)";
// No request is ever sent, so the server never sees these.
constexpr wchar_t kUser[] = L"VEXO";
constexpr wchar_t kPassword[] = L"tiqora-check";

std::string readServerValue(const std::string& file, const char* key) {
    return readIniStringA(file, "Server", key, "N/A", kServerValueBufferBytes);
}

}  // namespace

bool validateLink(const std::string& path, const std::wstring& hostAndPort) {
    writeTicketLog("check serverIP and Url is validateLink()");
    const std::string object = "/" + path;

    WinInet wininet;
    if (!wininet.usable()) {
        writeTicketLog("Internet Connection Not available");
        return false;
    }
    if (wininet.attemptConnect(0) != ERROR_SUCCESS) {
        writeTicketLog("Internet Connection Not available");
        return false;
    }
    InternetHandle internet(wininet, wininet.open(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!internet) return false;
    InternetHandle connection(wininet, wininet.connect(internet.get(), hostAndPort.c_str(), 443, kUser, kPassword,
                                                       INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        writeTicketLog("Error While Connecting To Server");
        return false;
    }
    const std::wstring wideObject = fromAnsi(object);
    InternetHandle request(wininet, wininet.openRequest(connection.get(), L"POST", wideObject.c_str(), L"HTTP/1.0",
                                                        nullptr, nullptr, INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS, 0));
    writeTicketLog(object);
    if (!request) return false;

    request.keep();
    connection.keep();
    internet.keep();
    wininet.keep();
    return true;
}

std::optional<LanServerAddress> GetUrl(std::wstring& lanUrl, const std::wstring& productDataFolder) {
    writeTicketLog("GetUrl function start");
    const std::string file = toAnsi(productDataFolder) + "\\serverIP.ini";
    writeTicketLog("checking serverIP.ini\n");

    std::string value = readServerValue(file, "ACIP");
    writeTicketLog(value);
    if (serverValueMissing(value)) {
        writeTicketLog("Not found ACIP in serverIP.ini");
        value = readServerValue(file, "IP");
        writeTicketLog(value);
        if (serverValueMissing(value)) {
            writeTicketLog("exit Not found ACIP and IP");
            return std::nullopt;
        }
    }

    const LanAddress address = lanAddressFrom(value);
    writeTicketLog(address.addressText);
    if (!address.dotted) {
        writeTicketLog("Wrong URL");
        writeTicketLog(address.checkedText);
        writeTicketLog("exit 2 ");
        return std::nullopt;
    }

    LanServerAddress resolved{fromAnsi(address.host), fromAnsi(address.portText), std::string(kLanApiPath)};
    writeTicketLog(resolved.apiPath);

    const std::wstring hostAndPort = fromAnsi(address.hostAndPort);
    const bool working = validateLink(resolved.apiPath, hostAndPort);
    lanUrl += fromAnsi(lanUrlFor(address.hostAndPort, resolved.apiPath));
    if (!working) {
        writeTicketLog("Inccorect URL IS Provided:");
        writeTicketLog("exit 3 ");
        return std::nullopt;
    }
    writeTicketLog("Working URL IS:");
    writeTicketLog("  GetUrl function END\n");
    return resolved;
}

}  // namespace tiqora
