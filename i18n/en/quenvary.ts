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
</context>
</TS>
