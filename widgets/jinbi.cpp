#include "jinbi.h"

#include <QDebug>
#include <QIcon>
#include <QKeyEvent>
#include <QPixmap>
#include <QTimer>

namespace {

constexpr int frameIntervalMs = 30;
constexpr int goldFrame = 1;
constexpr int silverFrame = 8;
const char *const borderlessStyle = "QPushButton{border:0px;}";

bool isPressKey(const QKeyEvent *e)
{
    return e->key() == Qt::Key_Space || e->key() == Qt::Key_Select;
}

}

jinbi::jinbi(const QString &picturePath)
    : QPushButton(nullptr)
{
    QPixmap picture;
    if (!picture.load(picturePath))
        qDebug() << "加载图片失败";
    // The widget keeps the starting size; only the icon follows the frames.
    setFixedSize(picture.width(), picture.height());
    setStyleSheet(borderlessStyle);
    setIcon(QIcon(picture));
    setIconSize(QSize(picture.width(), picture.height()));

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
}

void jinbi::showFrame(int frame)
{
    const QPixmap picture(QString(":/res/Coin000%1.png").arg(frame));
    setIcon(QIcon(picture));
    setIconSize(QSize(picture.width(), picture.height()));
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
