#include "filesteps.h"

#include "platform.h"

SessionStep ShowFileSteps(
    Platform& platform, SessionStep step, const std::function<SessionStep(const SessionStep&, SessionAnswer)>& answer)
{
    for (;;) {
        for (const QString& message : step.messages)
            platform.Message(message);
        if (step.kind != SessionStep::Kind::Ask)
            return step;
        const MsgAnswer a =
            platform.Message(step.text, MsgIcon::None, step.withCancel ? MsgButtons::YesNoCancel : MsgButtons::YesNo);
        const SessionAnswer given = a == MsgAnswer::Yes ? SessionAnswer::Yes
            : a == MsgAnswer::No                        ? SessionAnswer::No
                                                        : SessionAnswer::Cancel;
        step = answer(step, given);
    }
}

SessionFacts PlatformFacts(Platform& platform)
{
    return {
        [&platform](const QString& path) { return platform.FreeSpace(path); }, [&platform] { return platform.Now(); }};
}
