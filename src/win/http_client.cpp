#include "win/http_client.h"

#include <windows.h>

#include <curl/curl.h>

#include <functional>
#include <memory>

#include "win/wide_text.h"

namespace tiqora {

namespace {

size_t appendTo(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

// Watches a transfer for progress: libcurl calls it about once a second, and
// a transfer whose byte counts have not moved for the limit is abandoned.
struct StallWatch {
    ULONGLONG limitMs = 0;
    curl_off_t sent = 0, received = 0;
    ULONGLONG lastMove = GetTickCount64();
    bool stalled = false;  // the watch ended the transfer

    static int check(void* self, curl_off_t, curl_off_t received, curl_off_t, curl_off_t sent) {
        auto* watch = static_cast<StallWatch*>(self);
        const ULONGLONG now = GetTickCount64();
        if (sent != watch->sent || received != watch->received) {
            watch->sent = sent;
            watch->received = received;
            watch->lastMove = now;
            return 0;
        }
        watch->stalled = now - watch->lastMove >= watch->limitMs;
        return watch->stalled ? 1 : 0;
    }
};

// Runs once the connection is made and before the request goes out: over
// TLS, the server's certificate must pass, or the transfer ends with nothing
// sent.
struct CertificateGate {
    CURL* handle = nullptr;
    std::wstring hostName;
    std::optional<CertificateCheck> refused;

    static int check(void* self, char*, char*, int, int) {
        auto* gate = static_cast<CertificateGate*>(self);
        curl_tlssessioninfo* session = nullptr;
        void* context = nullptr;
        if (curl_easy_getinfo(gate->handle, CURLINFO_TLS_SSL_PTR, &session) == CURLE_OK && session &&
            session->backend == CURLSSLBACKEND_SCHANNEL)
            context = session->internals;
        const CertificateCheck result = checkServerCertificate(context, gate->hostName);
        if (result.verdict == CertificateVerdict::Trusted) return CURL_PREREQFUNC_OK;
        gate->refused = result;
        return CURL_PREREQFUNC_ABORT;
    }
};

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
    void operator()(curl_mime* mime) const { curl_mime_free(mime); }
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;
using HeaderList = std::unique_ptr<curl_slist, CurlDeleter>;

// One request to `path` at `server`: `prepare` sets its body and headers on
// the handle (false when it could not), the rest is the same for every
// request the program sends itself.
HttpResult perform(const ServiceAddress& server, const std::string& path, const HttpLimits& limits,
                   const std::function<bool(CURL*)>& prepare) {
    HttpResult result;
    // libcurl and the certificate check reach these libraries through
    // delay-loaded calls (win/system_libraries.h): loaded here first, a
    // missing one ends the request before any of those calls is made.
    if (auto missing = keepSystemLibrariesLoaded({L"ws2_32.dll", L"bcrypt.dll", L"crypt32.dll", L"secur32.dll"})) {
        result.setUp = false;
        result.missingLibrary = std::move(missing);
        return result;
    }
    if (curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK) {
        result.setUp = false;
        return result;
    }
    CurlHandle handle(curl_easy_init());
    if (!handle || !prepare(handle.get())) {
        result.setUp = false;
        return result;
    }

    const std::string url = server.origin() + path;
    const bool overTls = server.scheme == WebScheme::Https;
    curl_easy_setopt(handle.get(), CURLOPT_URL, url.c_str());
    // The scheme asked for is the only one allowed and no redirect is
    // followed: nothing can turn an https request into plain HTTP. Through a
    // proxy, TLS runs end to end and the certificate check below still
    // decides.
    curl_easy_setopt(handle.get(), CURLOPT_PROTOCOLS_STR, overTls ? "https" : "http");
    curl_easy_setopt(handle.get(), CURLOPT_FOLLOWLOCATION, 0L);
    char transferError[CURL_ERROR_SIZE] = "";
    curl_easy_setopt(handle.get(), CURLOPT_ERRORBUFFER, transferError);
    CertificateGate gate{handle.get(), fromAnsi(server.hostName), std::nullopt};
    if (overTls) {
        // Schannel verifies the peer and the host by default; only a
        // revocation status that cannot be learned is let pass.
        curl_easy_setopt(handle.get(), CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_REVOKE_BEST_EFFORT));
        curl_easy_setopt(handle.get(), CURLOPT_PREREQFUNCTION, &CertificateGate::check);
        curl_easy_setopt(handle.get(), CURLOPT_PREREQDATA, &gate);
    }
    std::string responseHeaders;
    curl_easy_setopt(handle.get(), CURLOPT_WRITEFUNCTION, appendTo);
    curl_easy_setopt(handle.get(), CURLOPT_WRITEDATA, &result.body);
    curl_easy_setopt(handle.get(), CURLOPT_HEADERDATA, &responseHeaders);
    // No request may hold its caller for ever: the connection must be made
    // in time, a transfer that stops moving is given up, and so is one that
    // trickles on past the overall limit.
    curl_easy_setopt(handle.get(), CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
    curl_easy_setopt(handle.get(), CURLOPT_TIMEOUT_MS, limits.totalMilliseconds);
    StallWatch watch;
    watch.limitMs = limits.stallMilliseconds;
    curl_easy_setopt(handle.get(), CURLOPT_XFERINFOFUNCTION, &StallWatch::check);
    curl_easy_setopt(handle.get(), CURLOPT_XFERINFODATA, &watch);
    curl_easy_setopt(handle.get(), CURLOPT_NOPROGRESS, 0L);
    const CURLcode outcome = curl_easy_perform(handle.get());
    if (gate.refused) {
        result.refusedCertificate = gate.refused;
    } else if (watch.stalled) {
        // The library would only say its callback aborted: say why.
        result.transferError = "nothing moved for " + std::to_string(limits.stallMilliseconds / 1000) + " seconds";
    } else if (outcome != CURLE_OK) {
        result.transferError = transferError[0] ? std::string(transferError) : std::string(curl_easy_strerror(outcome));
    }
    curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &result.status);
    const char* redirect = nullptr;
    if (curl_easy_getinfo(handle.get(), CURLINFO_REDIRECT_URL, &redirect) == CURLE_OK && redirect)
        result.redirect = redirect;
    return result;
}

}  // namespace

HttpResult uploadForm(const ServiceAddress& server, const std::string& path, const std::vector<UploadPart>& parts,
                      const HttpLimits& limits) {
    std::unique_ptr<curl_mime, CurlDeleter> form;
    HeaderList headers;
    return perform(server, path, limits, [&](CURL* handle) {
        form.reset(curl_mime_init(handle));
        headers.reset(curl_slist_append(nullptr, "Expect:"));
        if (!form || !headers) return false;
        for (const UploadPart& part : parts) {
            curl_mimepart* added = curl_mime_addpart(form.get());
            curl_mime_name(added, part.name.c_str());
            if (part.isFile) {
                curl_mime_filedata(added, part.value.c_str());
            } else {
                curl_mime_data(added, part.value.c_str(), CURL_ZERO_TERMINATED);
                curl_mime_type(added, "multipart/form-data");
            }
        }
        curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(handle, CURLOPT_MIMEPOST, form.get());
        return true;
    });
}

HttpResult postText(const ServiceAddress& server, const std::string& path, const std::string& body,
                    const TextPostHeaders& headers, const HttpLimits& limits) {
    HeaderList list;
    return perform(server, path, limits, [&](CURL* handle) {
        // An empty "Name:" removes a header libcurl would add of its own.
        const std::string lines[] = {"Content-Type: " + headers.contentType,
                                     headers.accept.empty() ? "Accept:" : "Accept: " + headers.accept, "Expect:"};
        curl_slist* appended = nullptr;
        for (const std::string& line : lines) {
            curl_slist* longer = curl_slist_append(appended, line.c_str());
            if (!longer) {
                curl_slist_free_all(appended);
                return false;
            }
            appended = longer;
        }
        list.reset(appended);
        curl_easy_setopt(handle, CURLOPT_HTTPHEADER, list.get());
        curl_easy_setopt(handle, CURLOPT_USERAGENT, headers.agent.c_str());
        curl_easy_setopt(handle, CURLOPT_POSTFIELDS, body.data());
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        return true;
    });
}

}  // namespace tiqora
