// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "jinbi.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QDebug>
#include <QKeyEvent>
#include <QPixmap>
#include <QStyleOptionButton>
#include <QTimer>

#include "widgets/picturepainting.h"

namespace {

constexpr int frameIntervalMs = 30;
constexpr int goldFrame = 1;
constexpr int silverFrame = 8;

bool isPressKey(const QKeyEvent *e)
{
    return e->key() == Qt::Key_Space || e->key() == Qt::Key_Select;
}

// A screen reader hears the face and the place; the name is read from the coin when asked,
// because the play window sets the face directly.
class coinAccessible : public QAccessibleWidget
{
public:
    explicit coinAccessible(jinbi *coin)
        : QAccessibleWidget(coin, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const int row = coin()->boardRow + 1;
        const int column = coin()->boardColumn + 1;
        const char *const name = coin()->goldUp
                //: A coin as a screen reader names it: its face, then its row and column
                ? QT_TRANSLATE_NOOP("jinbi", "金币 第 %1 行 第 %2 列")
                //: A coin as a screen reader names it: its face, then its row and column
                : QT_TRANSLATE_NOOP("jinbi", "银币 第 %1 行 第 %2 列");
        return QCoreApplication::translate("jinbi", name).arg(row).arg(column);
    }

    QStringList actionNames() const override
    {
        return QStringList(pressAction()) << QAccessibleWidget::actionNames();
    }

    // Pressed from a reader, the coin keeps its lock like under the mouse.
    void doAction(const QString &action) override
    {
        if (action != pressAction())
            QAccessibleWidget::doAction(action);
        else if (!coin()->isTurning && !coin()->isLocked)
            coin()->click();
    }

private:
    jinbi *coin() const { return static_cast<jinbi *>(widget()); }
};

QAccessibleInterface *coinInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("jinbi") && object && object->isWidgetType())
        return new coinAccessible(static_cast<jinbi *>(object));
    return nullptr;
}

}

jinbi::jinbi(const QString &picturePath)
    : QPushButton(nullptr)
{
    const QPixmap picture = picturePainting::load(picturePath);
    if (picture.isNull())
        qDebug() << "加载图片失败";
    // The widget keeps the starting size; only the icon follows the frames.
    picturePainting::dress(this, picture);

    static const bool readable = (QAccessible::installFactory(coinInterface), true);
    Q_UNUSED(readable);

    toSilverTimer = new QTimer(this);
    toGoldTimer = new QTimer(this);
    toGoldFrame = silverFrame;
    toSilverFrame = goldFrame;
    isTurning = false;
    connect(toSilverTimer, &QTimer::timeout, this, [this] { stepToSilver(); });
    connect(toGoldTimer, &QTimer::timeout, this, [this] { stepToGold(); });
}

void jinbi::turnOver()
{
    // Turned again mid-turn: only one run may go on, and it heads back from the frame on show
    // (a run's counter is one past the frame it showed last).
    int shown = 0;
    if (toSilverTimer->isActive())
        shown = qMax(goldFrame, toSilverFrame - 1);
    else if (toGoldTimer->isActive())
        shown = qMin(silverFrame, toGoldFrame + 1);
    toSilverTimer->stop();
    toGoldTimer->stop();
    toSilverFrame = goldFrame;
    toGoldFrame = silverFrame;
    if (shown != 0) {
        if (goldUp)
            toSilverFrame = shown;
        else
            toGoldFrame = shown;
    }

    if (goldUp) {
        toSilverTimer->start(frameIntervalMs);
        isTurning = true;
        goldUp = false;
    } else {
        toGoldTimer->start(frameIntervalMs);
        isTurning = true;
        goldUp = true;
    }
    announceFace();
}

void jinbi::showFrame(int frame)
{
    picturePainting::show(this, picturePainting::load(QString(":/res/Coin000%1.png").arg(frame)));
}

void jinbi::stepToSilver()
{
    const int frame = toSilverFrame++;
    showFrame(frame);
    if (toSilverFrame > toGoldFrame) {
        toSilverFrame = goldFrame;
        toSilverTimer->stop();
        isTurning = false;
    }
}

void jinbi::stepToGold()
{
    const int frame = toGoldFrame--;
    showFrame(frame);
    if (toGoldFrame < toSilverFrame) {
        toGoldFrame = silverFrame;
        toGoldTimer->stop();
        isTurning = false;
    }
}

void jinbi::mousePressEvent(QMouseEvent *e)
{
    if (refusesPresses())
        return;
    QPushButton::mousePressEvent(e);
}

// A press that began while the coin was free must not click once the board has locked meanwhile.
void jinbi::mouseReleaseEvent(QMouseEvent *e)
{
    if (refusesPresses() && isDown()) {
        setDown(false);
        return;
    }
    QPushButton::mouseReleaseEvent(e);
}

// Space presses a button too; a busy coin refuses it like a mouse press.
void jinbi::keyPressEvent(QKeyEvent *e)
{
    if (refusesPresses() && isPressKey(e)) {
        e->accept();
        return;
    }
    QPushButton::keyPressEvent(e);
}

void jinbi::keyReleaseEvent(QKeyEvent *e)
{
    if (refusesPresses() && isPressKey(e)) {
        if (isDown())
            setDown(false);
        e->accept();
        return;
    }
    QPushButton::keyReleaseEvent(e);
}

void jinbi::announceFace()
{
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void jinbi::paintEvent(QPaintEvent *)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    picturePainting::paint(this, option);
}
