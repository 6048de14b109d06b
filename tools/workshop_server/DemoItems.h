#pragma once

#include <string>
#include <vector>

#include "WorkshopPage.h"

namespace kestavel::workshop {

class WorkshopServer;

// The demo set: twenty items 3000000001 to 3000000020 whose pages (about 150 KB each) and
// pictures the server answers. Item 3000000017 has been removed from the workshop (a dead page),
// 3000000004 names its author only in the creator block, 3000000002 and 3000000009 carry
// Chinese text, 3000000003 a long description. Items whose number leaves 1 when divided by 3 are
// laid out as in 2015, the others as today's pages (those leaving 2 in the 2025 form), with
// dates such as "21 Mar, 2023 @ 5:18am" and "Jan 21, 2020 @ 6:59pm" and a second tag group.
std::vector<std::string> DemoItemIds();

// The page of one demo item, its preview address and picture addresses on the given base
// ("http://127.0.0.1:PORT").
ItemPage DemoItemPage(const std::string& id, const std::string& base);

// Sets every demo page and picture on the server; gives the number of pictures served.
std::size_t ServeDemoItems(WorkshopServer& server);

}  // namespace kestavel::workshop
