#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace zb::test {

// The child widget of that object name, failing the test when absent.
template <typename W>
W* child(const QWidget& root, const char* name)
{
    W* w = root.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Clicks a tick box on its indicator, where a user clicks.
inline void clickTick(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
}

// Runs act on the modal window that opens next, once its event loop runs.
inline void onNextModal(std::function<void(QWidget*)> act)
{
    QTimer::singleShot(0, qApp, [act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        EXPECT_NE(modal, nullptr);
        if (modal != nullptr)
            act(modal);
    });
}

} // namespace zb::test
