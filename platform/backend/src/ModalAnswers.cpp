#include "ModalAnswers.h"

#include "DisplayBackend.h"

namespace
{
struct ModalAnswerState
{
    ModalAnswerHook hook;
    std::vector<ModalRequest> requests;
    bool bRun = false;
};

ModalAnswerState& State()
{
    static ModalAnswerState state;
    return state;
}
} // namespace

void SetModalAnswerHook(ModalAnswerHook hook)
{
    State().hook = std::move(hook);
}

std::optional<INT_PTR> AskModalAnswer(const ModalRequest& request)
{
    ModalAnswerState& state = State();
    state.requests.push_back(request);
    if (state.hook)
    {
        // A copy: the hook may replace itself.
        const ModalAnswerHook hook = state.hook;
        if (const std::optional<INT_PTR> answer = hook(request))
            return answer;
    }
    if (!GetDisplayBackend().IsInteractive() && !state.bRun)
        return request.nDefaultAnswer;
    return std::nullopt;
}

void SetModalWindowsRun(bool bRun)
{
    State().bRun = bRun;
}

const std::vector<ModalRequest>& GetModalRequests()
{
    return State().requests;
}

void ClearModalRequests()
{
    State().requests.clear();
}
