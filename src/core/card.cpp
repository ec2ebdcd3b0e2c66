#include "card.h"

const std::array<FieldInfo, FieldCount> Fields = {{
    {"1 Title1", "1. Title", 256},
    {"2 Title2", "2. Title", 300},
    {"3 Title3", "3. Title", 256},
    {"4 Day", "4.D", 4},
    {"5 Month", "5.Mo", 4},
    {"6 Year", "6. Year", 8},
    {"7 Page", "7. Page", 10},
    {"8 Topic", "8. Topic", 256},
    {"9 Keywords", "9. Keywords", 256},
    {"10 File link", "10. File link", 500},
    {"11 Code1", "11.Code 1", 60},
    {"12 Code2", "12.Code 2", 60},
    {"13 Code3", "13.Code 3", 60},
    {"14 aYear", "14.yyyy", 20},
    {"15 aMonth", "15.mm", 5},
    {"16 aDay", "16.dd", 5},
    {"17 aHour:min", "17.hh:mm", 14},
    {"18 Memo", "", 0},
    {"19 Card ID", "", 0},
}};

bool CardFieldsEmpty(const Card& card)
{
    for (int c = 0; c < CardIdCell; ++c)
        if (!card[c].isEmpty())
            return false;
    return true;
}
