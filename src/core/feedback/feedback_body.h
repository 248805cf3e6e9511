// The rules of a feedback submission, free of Windows headers so they are
// tested natively: the issue type text, the rating words, the JSON body sent
// to the help-desk mail service, the message the customer sees for a reply,
// and the address of the feedback page. Text is UTF-8 throughout.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/text/json_text.h"

namespace tiqora {

// The issue types of the feedback form, in the order the body lists them.
inline constexpr std::size_t kFeedbackIssueTypeCount = 12;
inline constexpr std::array<std::string_view, kFeedbackIssueTypeCount> kFeedbackIssueTypes = {
    "Support", "Scanning",     "Update",                  "Virus",   "Slow PC", "Software Block",
    "Malware", "PopUp",        "Error Screen",            "Activation/Reactivation", "Renewal", "Other",
};

// The captions of the ticked issue types (`ticked[i]` belongs to
// kFeedbackIssueTypes[i]) joined by "/", in the order above; empty when none
// is ticked. "Support" and "Other" give "Support/Other".
std::string issueTypeText(const std::array<bool, kFeedbackIssueTypeCount>& ticked);

// The five ratings, worst to best: the rating buttons from left to right.
inline constexpr std::array<std::string_view, 5> kRatingWords = {"Horrible", "Bad", "Average", "Good", "Excellent"};

// True for exactly one of the five rating words (case matters).
bool isRatingWord(std::string_view word);

// What the body carries, all UTF-8.
struct FeedbackBodyFields {
    std::string email;
    std::string licenceCode;
    std::string city;
    std::string customerName;
    std::string district;
    std::string issueType;
    std::string mobile;
    std::string expiryDate;
    std::string osName;
    std::string rating;
    std::string description;  // as typed, line breaks included
};

// The body for the help-desk mail service: one JSON object on one line,
// thirteen string members in a fixed order with no blank between items:
// Customeremail, Customerkey, city, cusname, district, fromname ("Tiqora
// FeedBack"), issuetype, mobile, yourname (the customer name again),
// expiryDate, OSVersion, feedbackrating, feedbackdescription. Every value is
// escaped with jsonEscape, so any text yields a well-formed body.
std::string buildFeedbackBody(const FeedbackBodyFields& fields);

// Where and how the feedback is sent.
inline constexpr char kFeedbackMailPath[] = "/api/v2/sendMail/sendmail";
inline constexpr char kFeedbackAgent[] = "Feedback";
inline constexpr char kFeedbackFromName[] = "Tiqora FeedBack";

// The help desk confirms a delivered feedback with "Msg sent" anywhere in its
// reply (exact, case-sensitive).
bool replyConfirmsFeedback(std::string_view reply);

// A message of the feedback, shown in the program's own message box: `text`
// holds "\n" line breaks; `smallText` picks the small text field.
struct FeedbackMessage {
    std::string text;
    bool smallText = false;
};

// The thank-you message for the help desk's reply and the chosen rating: a
// short thanks when the reply does not confirm delivery; otherwise a note
// that the request was submitted ("Horrible", "Bad", "Average") or a request
// to recommend VEXO ("Good", "Excellent").
FeedbackMessage thankYouMessage(std::string_view reply, std::string_view rating);

// Submit with a description but no rating: nothing is sent and the customer
// is asked to choose one (negative message, large text).
inline constexpr char kNoRatingMessage[] = "Please Select a Rating..!";

// Submit with an empty description: a standard message box.
inline constexpr char kEmptyDescriptionMessage[] = "Please Enter the Issue Description..!";
inline constexpr char kEmptyDescriptionCaption[] = "FeedBack";

// The public feedback page for a rating: "https://" + host +
// "/custfeedback?Feedback=" + rating word. The host may carry ":port".
std::string feedbackPageAddress(std::string_view host, std::string_view rating);

}  // namespace tiqora
