// DPXIntraPol.dll stand-in: the suite's intranet policy library. Its one
// export used by Tiqora Desk hands a client report file (a screenshot) to the
// LAN server named in ServerIP.ini. See suite/README.md.
#include "lan_file_delivery.h"
#include "suite_config.h"

// 1 delivered, 2 queued by the server for later, 0 not delivered.
extern "C" __declspec(dllexport) unsigned char ReceiveClientReports(const char* filePath) {
    const std::string name = wbx::baseName(filePath ? filePath : "");
    switch (wbx::deliverFileToLanServer(filePath, name, "DPXIntraPol")) {
    case wbx::FileDelivery::Delivered:
        return 1;
    case wbx::FileDelivery::Queued:
        return 2;
    default:
        return 0;
    }
}
