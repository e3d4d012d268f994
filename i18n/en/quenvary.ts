<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Zhujiemian</name>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>TavroQuenvary</source>
        <extracomment>The menu window&apos;s title: the game&apos;s name, kept unless the players know it by another</extracomment>
        <translation>TavroQuenvary</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Play</translation>
    </message>
</context>
<context>
    <name>jinbi</name>
    <message>
        <source>金币 第 %1 行 第 %2 列</source>
        <extracomment>A coin as a screen reader names it: its face, then its row and column</extracomment>
        <translation>Gold coin, row %1, column %2</translation>
    </message>
    <message>
        <source>银币 第 %1 行 第 %2 列</source>
        <translation>Silver coin, row %1, column %2</translation>
    </message>
</context>
<context>
    <name>sceneWindow</name>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
</context>
<context>
    <name>xuanguan</name>
    <message>
        <source>选择关卡</source>
        <translation>Choose a Level</translation>
    </message>
    <message>
        <source>第 %1 关</source>
        <translation>Level %1</translation>
    </message>
    <message>
        <source>最佳时间: %1 秒</source>
        <translation>Best time: %1 s</translation>
    </message>
    <message>
        <source>已通关，最佳时间: %1 秒</source>
        <translation>Cleared, best time: %1 s</translation>
    </message>
    <message>
        <source>已通关</source>
        <translation>Cleared</translation>
    </message>
    <message>
        <source>%1，最少用了 %2 步，本关最少 %3 步</source>
        <extracomment>Said after a solved level&apos;s name and best time: the player&apos;s fewest presses, and the level&apos;s</extracomment>
        <translation>%1, fewest moves: %2 (the level needs %3)</translation>
    </message>
</context>
<context>
    <name>youxi</name>
    <message>
        <source>Quenvary</source>
        <extracomment>The play window&apos;s title: the game&apos;s name, kept unless the players know it by another</extracomment>
        <translation>Quenvary</translation>
    </message>
    <message>
        <source>第 %1 关</source>
        <extracomment>Must fit 120 pixels at 20 points for level 20</extracomment>
        <translation>Level %1</translation>
    </message>
    <message>
        <source>倒计时: %1:%2</source>
        <extracomment>Minutes and seconds left, seconds without a leading zero; must fit 120 pixels at 16 points</extracomment>
        <translation>Time: %1:%2</translation>
    </message>
    <message>
        <source>通关</source>
        <extracomment>Told by a screen reader when the level is won or lost</extracomment>
        <translation>Level cleared</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Time’s up</translation>
    </message>
    <message>
        <source>通关，新的最佳时间: %1 秒</source>
        <translation>Level cleared, new best time: %1 s</translation>
    </message>
    <message>
        <source>通关，用过提示，不计最佳时间</source>
        <extracomment>Told when a level is won after a hint: solved, but the time is no best time</extracomment>
        <translation>Level cleared with a hint, so no best time</translation>
    </message>
    <message>
        <source>用了 %1 步，本关最少 %2 步</source>
        <extracomment>Told with a victory: the presses the player made and the fewest that solve the level</extracomment>
        <translation>%1 moves; the level needs %2</translation>
    </message>
    <message>
        <source>重新开始</source>
        <extracomment>An action of the play window, in its menu and for screen readers</extracomment>
        <translation>Restart</translation>
    </message>
    <message>
        <source>下一关</source>
        <extracomment>An action of the play window, in its menu and for screen readers</extracomment>
        <translation>Next Level</translation>
    </message>
    <message>
        <source>上一关</source>
        <extracomment>An action of the play window, in its menu and for screen readers</extracomment>
        <translation>Previous Level</translation>
    </message>
    <message>
        <source>暂停</source>
        <extracomment>An action of the play window: pauses the level, and resumes it when checked</extracomment>
        <translation>Pause</translation>
    </message>
    <message>
        <source>提示</source>
        <extracomment>An action of the play window: marks one coin of a shortest solution</extracomment>
        <translation>Hint</translation>
    </message>
    <message>
        <source>演示解法</source>
        <extracomment>An action of the play window once the level has ended</extracomment>
        <translation>Show a Solution</translation>
    </message>
    <message>
        <source>已暂停</source>
        <extracomment>What a screen reader hears on the pause card; a click on it resumes</extracomment>
        <translation>Paused</translation>
    </message>
    <message>
        <source>继续</source>
        <extracomment>Told by a screen reader when a paused level goes on</extracomment>
        <translation>Resumed</translation>
    </message>
    <message>
        <source>提示: 第 %1 行 第 %2 列</source>
        <extracomment>Told by a screen reader when a hint marks a coin: its row and column</extracomment>
        <translation>Hint: row %1, column %2</translation>
    </message>
    <message>
        <source>按下 第 %1 行 第 %2 列</source>
        <extracomment>Told by a screen reader for each press of a shown solution: the coin&apos;s row and column</extracomment>
        <translation>Pressing row %1, column %2</translation>
    </message>
</context>
</TS>
