#pragma once
// A Dialogs port answered from a script, recording every dialog it was asked to show. When the
// script runs out, input boxes and questions are cancelled (and counted), so a handler that
// keeps asking always ends.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace rs::test {

class ScriptedDialogs final : public ui::Dialogs {
public:
    enum class Kind { Message, Input, Question };
    struct Call {
        Kind kind;
        std::string title;
        std::string text;  // message, prompt or question
        std::string defaultText;
        ui::Icon icon = ui::Icon::None;
    };

    // Script: the next input box answers `text`; Cancel() answers with Cancel.
    ScriptedDialogs& Enter(std::string text) {
        inputs_.emplace_back(std::move(text));
        return *this;
    }
    ScriptedDialogs& Cancel() {
        inputs_.emplace_back(std::nullopt);
        return *this;
    }
    ScriptedDialogs& Reply(ui::Answer answer) {
        answers_.push_back(answer);
        return *this;
    }
    // Answers for when the script is empty (the monkey test's random user).
    std::function<std::optional<std::string>()> inputFallback;
    std::function<ui::Answer()> questionFallback;

    void Message(std::string_view text, ui::Icon icon) override {
        calls.push_back({Kind::Message, {}, std::string(text), {}, icon});
    }
    std::optional<std::string> Input(std::string_view title, std::string_view prompt,
                                     std::string_view defaultText) override {
        calls.push_back({Kind::Input, std::string(title), std::string(prompt),
                         std::string(defaultText), ui::Icon::None});
        if (!inputs_.empty()) {
            auto answer = inputs_.front();
            inputs_.pop_front();
            return answer;
        }
        ++unscripted;
        return inputFallback ? inputFallback() : std::nullopt;
    }
    ui::Answer Question(std::string_view text, ui::Icon icon) override {
        calls.push_back({Kind::Question, {}, std::string(text), {}, icon});
        if (!answers_.empty()) {
            const ui::Answer a = answers_.front();
            answers_.pop_front();
            return a;
        }
        ++unscripted;
        return questionFallback ? questionFallback() : ui::Answer::Cancel;
    }

    std::vector<std::string> Texts(Kind kind) const {
        std::vector<std::string> out;
        for (const Call& c : calls) {
            if (c.kind == kind) out.push_back(c.text);
        }
        return out;
    }
    std::vector<std::string> Messages() const { return Texts(Kind::Message); }
    bool ScriptDone() const { return inputs_.empty() && answers_.empty(); }
    void Forget() { calls.clear(); }

    std::vector<Call> calls;
    int unscripted = 0;

private:
    std::deque<std::optional<std::string>> inputs_;
    std::deque<ui::Answer> answers_;
};

}  // namespace rs::test
