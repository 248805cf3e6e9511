#include "core/feedback/feedback_body.h"

#include <algorithm>
#include <utility>

namespace tiqora {

std::string issueTypeText(const std::array<bool, kFeedbackIssueTypeCount>& ticked) {
    std::string text;
    for (std::size_t i = 0; i < kFeedbackIssueTypeCount; ++i) {
        if (!ticked[i]) continue;
        if (!text.empty()) text += '/';
        text += kFeedbackIssueTypes[i];
    }
    return text;
}

bool isRatingWord(std::string_view word) {
    return std::find(kRatingWords.begin(), kRatingWords.end(), word) != kRatingWords.end();
}

std::string buildFeedbackBody(const FeedbackBodyFields& fields) {
    const std::pair<const char*, const std::string*> members[] = {
        {"Customeremail", &fields.email},
        {"Customerkey", &fields.licenceCode},
        {"city", &fields.city},
        {"cusname", &fields.customerName},
        {"district", &fields.district},
        {"fromname", nullptr},
        {"issuetype", &fields.issueType},
        {"mobile", &fields.mobile},
        {"yourname", &fields.customerName},
        {"expiryDate", &fields.expiryDate},
        {"OSVersion", &fields.osName},
        {"feedbackrating", &fields.rating},
        {"feedbackdescription", &fields.description},
    };
    std::string body = "{";
    for (const auto& [key, value] : members) {
        if (body.size() > 1) body += ',';
        body += '"';
        body += key;
        body += "\":\"";
        body += value ? jsonEscape(*value) : jsonEscape(kFeedbackFromName);
        body += '"';
    }
    body += '}';
    return body;
}

bool replyConfirmsFeedback(std::string_view reply) { return reply.find("Msg sent") != std::string_view::npos; }

FeedbackMessage thankYouMessage(std::string_view reply, std::string_view rating) {
    if (!replyConfirmsFeedback(reply)) return {"Thank You...!", false};
    if (rating == "Good" || rating == "Excellent") {
        std::string text = "Happy to know that you had a ";
        text += rating;
        text += " experience.\nPlease recommend VEXO to your friends,relatives or colleagues.";
        return {text, true};
    }
    return {"Thank You !!.\nYour Request has been submitted.\nVEXO Help Desk Team will contact you soon.", true};
}

std::string feedbackPageAddress(std::string_view host, std::string_view rating) {
    std::string address = "https://";
    address += host;
    address += "/custfeedback?Feedback=";
    address += rating;
    return address;
}

}  // namespace tiqora
