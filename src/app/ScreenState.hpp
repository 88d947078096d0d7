#pragma once

// Which screen the frame loop updates and draws.
enum class ScreenState
{
    Title = 0,
    Menu = 1,
    Playing = 2,
    End = 3
};

// What the menu screen shows.
enum class MenuPage
{
    Main = 1,
    Instructions = 2,
    About = 3
};
