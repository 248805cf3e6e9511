#include "http_post.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace wbx {

namespace {

void initialiseOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_ALL); });
}

size_t appendBody(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct MimeDeleter {
    void operator()(curl_mime* mime) const { curl_mime_free(mime); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;
using Mime = std::unique_ptr<curl_mime, MimeDeleter>;

// Runs a prepared request, trying again while no answer arrives.
HttpAnswer perform(CURL* easy, const PostOptions& options) {
    HttpAnswer answer;
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &answer.body);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, options.connectSeconds);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, kTotalSeconds);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_USERAGENT, options.agent.c_str());
    for (int attempt = 0; attempt < options.attempts; ++attempt) {
        answer.body.clear();
        if (curl_easy_perform(easy) == CURLE_OK) {
            curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &answer.status);
            answer.answered = true;
            return answer;
        }
    }
    answer.body.clear();
    return answer;
}

HeaderList headersFor(const PostOptions& options, const std::string& contentType) {
    curl_slist* list = curl_slist_append(nullptr, "Expect:");
    if (!contentType.empty()) list = curl_slist_append(list, ("Content-Type: " + contentType).c_str());
    if (!options.accept.empty()) list = curl_slist_append(list, ("Accept: " + options.accept).c_str());
    return HeaderList(list);
}

}  // namespace

HttpAnswer postBody(const std::string& url, const std::string& body, const std::string& contentType,
                    const PostOptions& options) {
    initialiseOnce();
    Easy easy(curl_easy_init());
    if (!easy) return {};
    HeaderList headers = headersFor(options, contentType);
    curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    return perform(easy.get(), options);
}

HttpAnswer postMultipart(const std::string& url, const std::vector<FormPart>& parts, const PostOptions& options) {
    initialiseOnce();
    Easy easy(curl_easy_init());
    if (!easy) return {};
    Mime mime(curl_mime_init(easy.get()));
    for (const FormPart& part : parts) {
        curl_mimepart* field = curl_mime_addpart(mime.get());
        curl_mime_name(field, part.name.c_str());
        if (part.filePath.empty()) {
            curl_mime_data(field, part.value.data(), part.value.size());
        } else {
            if (curl_mime_filedata(field, part.filePath.c_str()) != CURLE_OK) return {};
            curl_mime_filename(field, part.fileName.c_str());
            curl_mime_type(field, "application/octet-stream");
        }
    }
    HeaderList headers = headersFor(options, "");
    curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(easy.get(), CURLOPT_MIMEPOST, mime.get());
    return perform(easy.get(), options);
}

}  // namespace wbx
