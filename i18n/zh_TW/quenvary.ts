<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="zh_CN">
<context>
    <name>Zhujiemian</name>
    <message>
        <source>退出</source>
        <translation>離開</translation>
    </message>
    <message>
        <source>TavroQuenvary</source>
        <extracomment>The menu window&apos;s title: the game&apos;s name, kept unless the players know it by another</extracomment>
        <translation>TavroQuenvary</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>開始</translation>
    </message>
</context>
<context>
    <name>jinbi</name>
    <message>
        <source>金币 第 %1 行 第 %2 列</source>
        <extracomment>A coin as a screen reader names it: its face, then its row and column</extracomment>
        <translation>金幣 第 %1 列 第 %2 行</translation>
    </message>
    <message>
        <source>银币 第 %1 行 第 %2 列</source>
        <translation>銀幣 第 %1 列 第 %2 行</translation>
    </message>
</context>
<context>
    <name>sceneWindow</name>
    <message>
        <source>返回</source>
        <translation>返回</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>離開</translation>
    </message>
</context>
<context>
    <name>xuanguan</name>
    <message>
        <source>选择关卡</source>
        <translation>選擇關卡</translation>
    </message>
    <message>
        <source>第 %1 关</source>
        <translation>第 %1 關</translation>
    </message>
    <message>
        <source>最佳时间: %1 秒</source>
        <translation>最佳時間: %1 秒</translation>
    </message>
    <message>
        <source>已通关，最佳时间: %1 秒</source>
        <translation>已通關，最佳時間: %1 秒</translation>
    </message>
    <message>
        <source>已通关</source>
        <translation>已通關</translation>
    </message>
    <message>
        <source>%1，最少用了 %2 步，本关最少 %3 步</source>
        <extracomment>Said after a solved level&apos;s name and best time: the player&apos;s fewest presses, and the level&apos;s</extracomment>
        <translation>%1，最少用了 %2 步，本關最少 %3 步</translation>
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
        <translation>第 %1 關</translation>
    </message>
    <message>
        <source>倒计时: %1:%2</source>
        <extracomment>Minutes and seconds left, seconds without a leading zero; must fit 120 pixels at 16 points</extracomment>
        <translation>倒數: %1:%2</translation>
    </message>
    <message>
        <source>通关</source>
        <extracomment>Told by a screen reader when the level is won or lost</extracomment>
        <translation>通關</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>通关，新的最佳时间: %1 秒</source>
        <translation>通關，新的最佳時間: %1 秒</translation>
    </message>
    <message>
        <source>通关，用过提示，不计最佳时间</source>
        <extracomment>Told when a level is won after a hint: solved, but the time is no best time</extracomment>
        <translation>通關，用過提示，不計最佳時間</translation>
    </message>
    <message>
        <source>用了 %1 步，本关最少 %2 步</source>
        <extracomment>Told with a victory: the presses the player made and the fewest that solve the level</extracomment>
        <translation>用了 %1 步，本關最少 %2 步</translation>
    </message>
    <message>
        <source>重新开始</source>
        <extracomment>An action of the play window, in its menu and for screen readers</extracomment>
        <translation>重新開始</translation>
    </message>
    <message>
        <source>下一关</source>
        <extracomment>An action of the play window, in its menu and for screen readers</extracomment>
        <translation>下一關</translation>
    </message>
    <message>
        <source>上一关</source>
        <extracomment>An action of the play window, in its menu and for screen readers</extracomment>
        <translation>上一關</translation>
    </message>
    <message>
        <source>暂停</source>
        <extracomment>An action of the play window: pauses the level, and resumes it when checked</extracomment>
        <translation>暫停</translation>
    </message>
    <message>
        <source>提示</source>
        <extracomment>An action of the play window: marks one coin of a shortest solution</extracomment>
        <translation>提示</translation>
    </message>
    <message>
        <source>演示解法</source>
        <extracomment>An action of the play window once the level has ended</extracomment>
        <translation>示範解法</translation>
    </message>
    <message>
        <source>已暂停</source>
        <extracomment>What a screen reader hears on the pause card; a click on it resumes</extracomment>
        <translation>已暫停</translation>
    </message>
    <message>
        <source>继续</source>
        <extracomment>Told by a screen reader when a paused level goes on</extracomment>
        <translation>繼續</translation>
    </message>
    <message>
        <source>提示: 第 %1 行 第 %2 列</source>
        <extracomment>Told by a screen reader when a hint marks a coin: its row and column</extracomment>
        <translation>提示: 第 %1 列 第 %2 行</translation>
    </message>
    <message>
        <source>按下 第 %1 行 第 %2 列</source>
        <extracomment>Told by a screen reader for each press of a shown solution: the coin&apos;s row and column</extracomment>
        <translation>按下 第 %1 列 第 %2 行</translation>
    </message>
</context>
</TS>
