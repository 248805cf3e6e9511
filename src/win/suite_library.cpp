#include "win/suite_library.h"

#include "core/net/service_post.h"

namespace tiqora {

std::string writtenReply(const std::vector<char>& reply) {
    return replyAsRead(std::string_view(reply.data(), reply.size()), reply.size());
}

void restrictDllSearchPath() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS); }

SuiteModule SuiteModule::load(const std::wstring& absolutePath) {
    // DLL_LOAD_DIR lets the library find its own dependencies beside it;
    // the narrower System32|User-dirs set breaks such a library.
    return SuiteModule(
        LoadLibraryExW(absolutePath.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS));
}

TransportLibrary loadTransportLibrary(const std::wstring& path) {
    TransportLibrary library;
    library.module = SuiteModule::load(path);
    if (!library.module) return library;
    library.sendWebdata3 = library.module.find<SendWebdata3Fn>("SendWebdata3");
    library.sendWebdata2 = library.module.find<SendWebdata2Fn>("SendWebdata2");
    if (!library.sendWebdata3) library.unload();
    return library;
}

}  // namespace tiqora
