#pragma once

#include <optional>
#include <string_view>

#include "platform/LocalDateTime.h"

namespace kestavel {

// The date and time of a line of a workshop page's stats box ("Posted", "Updated"), read as the
// page shows it: a day, a month word (jan … dec, any letter case), a word that is not looked at,
// and a time such as 2:05pm, for example "3 Oct @ 2:05pm"; and where that form is not met, the
// forms that name the month first or a year after a comma: "21 Mar, 2023 @ 5:18am",
// "Mar 4 @ 2:41pm", "Jan 21, 2020 @ 6:59pm". Without a year in the text the year is
// `pageFileYear`, the year the page was saved. 12am is the hour 0, 12pm the hour 12. Nothing for
// a text of another form or a day the calendar lacks.
std::optional<LocalDateTime> ReadStatsDate(std::string_view text, int pageFileYear);

}  // namespace kestavel
