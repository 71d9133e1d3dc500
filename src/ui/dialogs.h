#pragma once
// The modal dialogs the window logic needs, as a port: the toolkit answers them with real
// dialogs, the tests from a script. Every dialog has a way out (Cancel), so no handler can trap
// the user in a question it keeps repeating.
#include <optional>
#include <string>
#include <string_view>

namespace rs::ui {

enum class Icon { None, Exclamation, Question, Information, Critical };
enum class Answer { Yes, No, Cancel };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message box with an OK button, titled with the application title.
    virtual void Message(std::string_view text, Icon icon) = 0;
    // An input box: the text the user confirmed, or nothing when they cancelled.
    virtual std::optional<std::string> Input(std::string_view title, std::string_view prompt,
                                             std::string_view defaultText) = 0;
    // A question with the buttons Yes, No and Cancel.
    virtual Answer Question(std::string_view text, Icon icon) = 0;
    // A question with the buttons Yes and No only; closing it counts as Yes (nothing changes).
    virtual Answer YesNo(std::string_view text, Icon icon) {
        return Question(text, icon) == Answer::No ? Answer::No : Answer::Yes;
    }
};

}  // namespace rs::ui
