// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuWithSubmenu.h"

#include "graphics/PopupMenuNumbering.h"

#include <gtest/gtest.h>

namespace {

TEST(PopupMenuNumbering, NumbersItemsFirstThenSubmenus)
{
    MenuWithSubmenu m;
    const PopupMenuNumbering numbering(m.top);
    EXPECT_EQ(numbering.IdOf(m.top, 0), 0);
    EXPECT_EQ(numbering.IdOf(m.top, 1), 1);
    EXPECT_EQ(numbering.IdOf(m.top, 2), 2);
    EXPECT_EQ(numbering.IdOf(*m.sub, 0), 3);
    EXPECT_EQ(numbering.IdOf(*m.sub, 1), 4);
    EXPECT_EQ(numbering.IdOf(*m.sub, 2), -1);
}

TEST(PopupMenuNumbering, ChoosingASubmenuItemReturnsTheSubmenu)
{
    MenuWithSubmenu m;
    const PopupMenuNumbering numbering(m.top);
    EXPECT_EQ(numbering.Choose(4), m.sub);
    EXPECT_EQ(m.sub->ChosenIndex(), 1);
    EXPECT_EQ(m.top.ChosenIndex(), -1);
    EXPECT_EQ(numbering.Choose(2), &m.top);
    EXPECT_EQ(m.top.ChosenIndex(), 2);
}

TEST(PopupMenuNumbering, UnknownNumbersChooseNothing)
{
    MenuWithSubmenu m;
    const PopupMenuNumbering numbering(m.top);
    EXPECT_EQ(numbering.Choose(5), nullptr);
    EXPECT_EQ(numbering.Choose(-1), nullptr);
    EXPECT_EQ(m.top.ChosenIndex(), -1);
    EXPECT_EQ(m.sub->ChosenIndex(), -1);
}

TEST(PopupMenuNumbering, NestedSubmenusNumberAfterTheirParentsItems)
{
    // top: x, [s1: p, [s2: u, v], q], y  ->  top 0-2, s1 3-5, s2 6-7
    PopupMenu top;
    top.AddItem("x");
    auto s1 = std::make_unique<PopupMenu>();
    PopupMenu* first = s1.get();
    s1->AddItem("p");
    auto s2 = std::make_unique<PopupMenu>();
    PopupMenu* second = s2.get();
    s2->AddItem("u");
    s2->AddItem("v");
    s1->AddSubmenu("r", std::move(s2));
    s1->AddItem("q");
    top.AddSubmenu("s", std::move(s1));
    top.AddItem("y");
    const PopupMenuNumbering numbering(top);
    EXPECT_EQ(numbering.FirstId(*first), 3);
    EXPECT_EQ(numbering.FirstId(*second), 6);
    EXPECT_EQ(numbering.Choose(7), second);
    EXPECT_EQ(second->ChosenIndex(), 1);
    EXPECT_EQ(numbering.Choose(5), first);
    EXPECT_EQ(first->ChosenIndex(), 2);
}

TEST(PopupMenuNumbering, PrefixesFollowTheMode)
{
    EXPECT_EQ(PopupMenuNumbering::Label(0, 9, "Nine"), "Nine");
    EXPECT_EQ(PopupMenuNumbering::Label(1, 9, "Nine"), "9: Nine");
    EXPECT_EQ(PopupMenuNumbering::Label(2, 9, "Nine"), "09: Nine");
    EXPECT_EQ(PopupMenuNumbering::Label(3, 9, "Nine"), "009: Nine");
    EXPECT_EQ(PopupMenuNumbering::Label(1, 12, "Twelve"), "12: Twelve"); // "%1d" widens
    EXPECT_EQ(PopupMenuNumbering::Label(4, 1, "x"), "x");
}

} // namespace
