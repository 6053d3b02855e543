// UI services for tests: they show nothing, record every message box, every
// exception display and every cursor change, and answer questions as told.
//
// A question is a box with more than one button. AnswerNext queues answers;
// each question takes the oldest one, which must be one of its buttons
// (otherwise the test set-up is wrong and the box raises Exception). With
// none queued a question gets its default button (OK, else Yes, else Retry,
// else the first). Boxes with one button return it without taking an
// answer.
//
//   RecordingUIServices ui;
//   ScopedUIServices scope(ui);
//   ui.AnswerNext(mrYes);
//   ... code under test ...
//   EXPECT_EQ(ui.Messages().at(0).Box.Caption, "Confirm");
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "vorn/host/UIServices.h"

namespace vorn {

class RecordingUIServices : public TUIServices {
 public:
  struct Message {
    TMessageBox Box;
    TModalResult Result;
    bool IsException;  // shown through ShowException
  };

  TModalResult ShowMessageBox(const TMessageBox& box) override;
  void ShowCursor(TCursor cursor) override;
  void ShowException(const std::string& text, const std::string& caption) override;

  void AnswerNext(TModalResult answer);
  int PendingAnswers() const;

  std::vector<Message> Messages() const;
  // The texts of the messages, in order.
  std::vector<std::string> Texts() const;
  std::vector<TCursor> Cursors() const;
  void Clear();

 private:
  TModalResult Record(const TMessageBox& box, bool isException);

  mutable std::mutex mutex_;
  std::vector<Message> messages_;
  std::vector<TCursor> cursors_;
  std::deque<TModalResult> answers_;
};

}  // namespace vorn
