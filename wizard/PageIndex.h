// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The wizard's pages by their place in the window, which is also the number
// the user counts them by (the welcome page is page 0).
namespace PageIndex {

enum : int {
    Welcome,
    Titles,
    Colours,
    Sound,
    CentralText,
    Images,
    ScrollText,
    Links,
    Email,
    Finish,
};

inline constexpr int kCount = Finish + 1;

// The help file's topic for a page: the welcome page opens the contents,
// and the other pages have topics of their own from kFirstPageTopic on.
inline constexpr int kContentsTopic = 0;
inline constexpr int kFirstPageTopic = 4;

constexpr int helpTopic(int index)
{
    return index == Welcome ? kContentsTopic : kFirstPageTopic + (index - Titles);
}

} // namespace PageIndex
