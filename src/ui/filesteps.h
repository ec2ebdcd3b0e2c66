// The dialogs of the file commands: what a step of the card file session
// (cardfilesession.h) names, shown through the platform.
#pragma once

#include "cardfilesession.h"

#include <functional>

class Platform;

// Shows the step's messages, in order, and then its question (no icon),
// passing the answer to answer, until a step ends the command or asks for
// something other than an answer (Close's RunSave). Returns that step.
SessionStep ShowFileSteps(
    Platform& platform, SessionStep step, const std::function<SessionStep(const SessionStep&, SessionAnswer)>& answer);

// The session's facts from the platform: its free space and its clock.
SessionFacts PlatformFacts(Platform& platform);
