// What a find of the search groups comes to on the screen: the matching card
// is shown, an empty search stretch says nothing, a search that tested cards
// and found none says "Not found".
#pragma once

#include "cardfind.h"
#include "platform.h"

template <typename Show> void ShowFindOutcome(Platform& platform, const FindOutcome& found, Show show)
{
    if (found.status == FindStatus::Found)
        show();
    else if (found.status == FindStatus::NotFound)
        platform.Message(NotFoundText());
}
