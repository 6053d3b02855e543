// UI services that record instead of showing.
#include "vorn/host/RecordingUIServices.h"

#include <bit>

#include "vorn/host/Exceptions.h"

namespace vorn {
namespace {

bool IsQuestion(TMsgDlgButtons buttons) {
  return std::popcount(static_cast<uint32_t>(buttons)) > 1;
}

bool Offers(TMsgDlgButtons buttons, TModalResult answer) {
  for (uint32_t bit = 1; bit != 0 && bit <= static_cast<uint32_t>(mbHelp); bit <<= 1) {
    auto button = static_cast<TMsgDlgBtn>(bit);
    if ((buttons & button) && ModalResultOf(button) == answer) return true;
  }
  return false;
}

}  // namespace

TModalResult RecordingUIServices::ShowMessageBox(const TMessageBox& box) {
  return Record(box, false);
}

void RecordingUIServices::ShowException(const std::string& text, const std::string& caption) {
  Record(TMessageBox{text, caption, mtError, mbOK}, true);
}

TModalResult RecordingUIServices::Record(const TMessageBox& box, bool isException) {
  std::lock_guard<std::mutex> lock(mutex_);
  TModalResult result = ModalResultOf(DefaultButton(box.Buttons));
  if (IsQuestion(box.Buttons) && !answers_.empty()) {
    TModalResult answer = answers_.front();
    answers_.pop_front();
    if (!Offers(box.Buttons, answer)) {
      throw Exception("RecordingUIServices: answer " + std::to_string(answer) +
                      " is not a button of the message \"" + box.Text + "\"");
    }
    result = answer;
  }
  messages_.push_back(Message{box, result, isException});
  return result;
}

void RecordingUIServices::ShowCursor(TCursor cursor) {
  std::lock_guard<std::mutex> lock(mutex_);
  cursors_.push_back(cursor);
}

void RecordingUIServices::AnswerNext(TModalResult answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.push_back(answer);
}

int RecordingUIServices::PendingAnswers() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(answers_.size());
}

std::vector<RecordingUIServices::Message> RecordingUIServices::Messages() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return messages_;
}

std::vector<std::string> RecordingUIServices::Texts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> texts;
  for (const Message& message : messages_)
    texts.push_back(message.Box.Text);
  return texts;
}

std::vector<TCursor> RecordingUIServices::Cursors() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cursors_;
}

void RecordingUIServices::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  messages_.clear();
  cursors_.clear();
  answers_.clear();
}

}  // namespace vorn
