// Answers to the program's modal questions. A message box takes the next queued answer (IDOK, IDYES, ...); a
// popup menu takes the next queued choice (a command id, or 0 to dismiss it). A question with no answer
// queued is a failure event and returns at once as if dismissed (0): a test never hangs on a box.
#pragma once
#include <cstddef>
#include <functional>
#include <string>

namespace hostui {

void QueueMessageBoxAnswer(int answer);
void QueueMenuChoice(unsigned int commandId);
std::size_t PendingMessageBoxAnswers();
std::size_t PendingMenuChoices();
void ClearAnswers();
// Answers a message box for which no answer is queued, instead of failing: a soak cannot know its boxes
// ahead. Gets the box's text and style and returns the answer. Null removes it; ClearAnswers keeps it.
void SetMessageBoxResponder(std::function<int(const std::string& text, unsigned int style)> responder);

} // namespace hostui
