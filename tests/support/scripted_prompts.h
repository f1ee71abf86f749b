// Every message box and file dialog of a test answered from a script instead of shown:
// the requests are recorded, the queued answers given in order, then `answer` for the rest.
#pragma once

#include <QStringList>
#include <deque>
#include <vector>

#include "table/prompts.h"

namespace meldora::test {

struct ScriptedPrompts {
    std::vector<prompts::Request> asked;
    std::deque<QString> answers;
    QString answer;

    explicit ScriptedPrompts(QString whenUnscripted = {}) : answer(std::move(whenUnscripted))
    {
        prompts::setResponder([this](const prompts::Request& request) {
            asked.push_back(request);
            if (answers.empty())
                return answer;
            const QString next = answers.front();
            answers.pop_front();
            return next;
        });
    }
    ~ScriptedPrompts() { prompts::setResponder({}); }
    QStringList texts() const
    {
        QStringList shown;
        for (const prompts::Request& request : asked)
            shown << request.text;
        return shown;
    }
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;
};

}  // namespace meldora::test
