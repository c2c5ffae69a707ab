// The real window, shown offscreen with its timers stopped, for the widget
// tests that click it and look at what it draws.
#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <string_view>

#include "window/qt/controlwidget.h"
#include "window/qt/mainwindow.h"

namespace morvane {

class ShownWindow : public ::testing::Test {
protected:
    std::unique_ptr<MainWindow> w;

    void SetUp() override {
        w = std::make_unique<MainWindow>(Calculadora::Config{"file:///nowhere/index.htm", "file:///nowhere/ayuda.htm"});
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        for (QTimer* t : w->findChildren<QTimer*>()) t->stop();
    }
    Calculadora& m() { return w->model(); }
    ControlWidget* widget(std::string_view name, int index = -1) {
        ControlWidget* cw = w->widgetFor(name, index);
        EXPECT_NE(cw, nullptr) << std::string(name) << "(" << index << ")";
        return cw;
    }
};

}  // namespace morvane
