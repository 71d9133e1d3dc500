#pragma once
// A Dialogs port answered from a script, recording every dialog it was asked to show. When the
// script runs out, input boxes and questions answer with the fallbacks (Cancel by default), so a
// handler that keeps asking always ends.
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
        std::string title, text, defaultText;  // text: message, prompt or question
        ui::Icon icon;
    };

    ScriptedDialogs& Enter(std::string text) { return Script(std::move(text)); }
    ScriptedDialogs& Cancel() { return Script(std::nullopt); }
    ScriptedDialogs& Reply(ui::Answer answer) {
        answers_.push_back(answer);
        return *this;
    }
    std::function<std::optional<std::string>()> inputFallback = [] { return std::nullopt; };
    std::function<ui::Answer()> questionFallback = [] { return ui::Answer::Cancel; };

    void Message(std::string_view text, ui::Icon icon) override {
        calls.push_back({Kind::Message, {}, std::string(text), {}, icon});
    }
    std::optional<std::string> Input(std::string_view title, std::string_view prompt,
                                     std::string_view def) override {
        calls.push_back({Kind::Input, std::string(title), std::string(prompt), std::string(def),
                         ui::Icon::None});
        if (inputs_.empty()) return inputFallback();
        auto answer = inputs_.front();
        inputs_.pop_front();
        return answer;
    }
    ui::Answer Question(std::string_view text, ui::Icon icon) override {
        calls.push_back({Kind::Question, {}, std::string(text), {}, icon});
        if (answers_.empty()) return questionFallback();
        const ui::Answer a = answers_.front();
        answers_.pop_front();
        return a;
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const Call& c : calls) {
            if (c.kind == Kind::Message) out.push_back(c.text);
        }
        return out;
    }
    bool ScriptDone() const { return inputs_.empty() && answers_.empty(); }

    std::vector<Call> calls;

private:
    ScriptedDialogs& Script(std::optional<std::string> answer) {
        inputs_.push_back(std::move(answer));
        return *this;
    }
    std::deque<std::optional<std::string>> inputs_;
    std::deque<ui::Answer> answers_;
};

}  // namespace rs::test
