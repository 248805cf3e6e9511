#include "http_response.h"

#include <algorithm>
#include <charconv>

namespace wbx {

namespace {

std::string lowered(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

}  // namespace

void ResponseReader::feed(std::string_view bytes) {
    if (state_ == State::Done || state_ == State::Failed) return;
    pending_.append(bytes);
    step();
}

void ResponseReader::closed() {
    if (state_ == State::Body && !hasLength_ && !chunked_) state_ = State::Done;
    else if (state_ != State::Done) state_ = State::Failed;
}

void ResponseReader::keep(std::string_view bytes) {
    body_.append(bytes);
    if (body_.size() >= kBodyEnough) state_ = State::Done;
}

void ResponseReader::parseHead(std::string_view head) {
    // "HTTP/1.1 200 OK"
    const auto firstLine = head.substr(0, head.find("\r\n"));
    if (firstLine.substr(0, 5) != "HTTP/") {
        state_ = State::Failed;
        return;
    }
    const auto space = firstLine.find(' ');
    const auto code = space == std::string_view::npos ? std::string_view() : firstLine.substr(space + 1, 3);
    if (std::from_chars(code.data(), code.data() + code.size(), status_).ec != std::errc() || status_ < 100) {
        state_ = State::Failed;
        return;
    }
    size_t position = firstLine.size() + 2;
    while (position < head.size()) {
        size_t end = head.find("\r\n", position);
        if (end == std::string_view::npos) end = head.size();
        const std::string_view line = head.substr(position, end - position);
        position = end + 2;
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string name = lowered(trimmed(line.substr(0, colon)));
        const std::string_view value = trimmed(line.substr(colon + 1));
        if (name == "transfer-encoding" && lowered(value).find("chunked") != std::string::npos) chunked_ = true;
        if (name == "content-length") {
            size_t length = 0;
            if (std::from_chars(value.data(), value.data() + value.size(), length).ec == std::errc()) {
                hasLength_ = true;
                left_ = length;
            }
        }
    }
    // Answers that never carry a body.
    if (status_ == 204 || status_ == 304 || (status_ >= 100 && status_ < 200)) {
        state_ = status_ < 200 ? State::Head : State::Done;  // an interim answer is followed by the real one
        return;
    }
    if (chunked_) state_ = State::ChunkSize;
    else if (hasLength_ && left_ == 0) state_ = State::Done;
    else state_ = State::Body;
}

void ResponseReader::step() {
    for (;;) {
        switch (state_) {
        case State::Head: {
            const auto end = pending_.find("\r\n\r\n");
            if (end == std::string::npos) return;
            const std::string head = pending_.substr(0, end);
            pending_.erase(0, end + 4);
            parseHead(head);
            break;
        }
        case State::Body: {
            if (pending_.empty()) return;
            const size_t take = hasLength_ ? std::min(left_, pending_.size()) : pending_.size();
            keep(std::string_view(pending_).substr(0, take));
            pending_.erase(0, take);
            if (hasLength_) {
                left_ -= take;
                if (left_ == 0) state_ = State::Done;
            }
            if (state_ == State::Body) return;
            break;
        }
        case State::ChunkSize: {
            const auto end = pending_.find("\r\n");
            if (end == std::string::npos) return;
            std::string_view sizeText = std::string_view(pending_).substr(0, end);
            sizeText = sizeText.substr(0, sizeText.find(';'));
            size_t size = 0;
            const auto text = trimmed(sizeText);
            if (std::from_chars(text.data(), text.data() + text.size(), size, 16).ec != std::errc()) {
                state_ = State::Failed;
                return;
            }
            pending_.erase(0, end + 2);
            left_ = size;
            state_ = size == 0 ? State::Trailer : State::ChunkData;
            break;
        }
        case State::ChunkData: {
            if (pending_.empty()) return;
            const size_t take = std::min(left_, pending_.size());
            keep(std::string_view(pending_).substr(0, take));
            pending_.erase(0, take);
            left_ -= take;
            if (state_ == State::Done) return;
            if (left_ > 0) return;
            state_ = State::ChunkEnd;
            break;
        }
        case State::ChunkEnd:
            if (pending_.size() < 2) return;
            pending_.erase(0, 2);
            state_ = State::ChunkSize;
            break;
        case State::Trailer: {
            // Trailer lines, if any, end with an empty line.
            const auto end = pending_.find("\r\n");
            if (end == std::string::npos) return;
            pending_.erase(0, end + 2);
            if (end == 0) state_ = State::Done;
            break;
        }
        case State::Done:
        case State::Failed:
            return;
        }
    }
}

}  // namespace wbx
