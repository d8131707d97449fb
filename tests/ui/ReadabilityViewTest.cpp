// Texts that can be read: colours the program sets come with a text colour
// that reads on them in any theme, widths follow the font, and long names
// are shortened with the whole name at hand.
#include "tests/editors/EditorTestSupport.h"
#include "tests/support/Harness.h"
#include "tests/ui/ThemeSupport.h"
#include "tests/ui/ViewTestSupport.h"
#include "ui/ElidingCheckBox.h"
#include "ui/MainWindowView.h"
#include "ui/ManageTasksWindowView.h"
#include "ui/TaskLight.h"

#include <QAccessible>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

namespace zb {
namespace {

using test::child;

// Where a field or a tick box draws its text.
QRect textArea(QWidget* w)
{
    if (auto* box = qobject_cast<QCheckBox*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(box);
        opt.text = box->text();
        return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, box);
    }
    return w->rect().adjusted(4, 4, -4, -4); // inside the frame
}

TEST(Readability, ColouredFieldsReadInEveryThemeAndPlainOnesFollowIt)
{
    for (const test::Theme& theme : test::lightAndDark()) {
        test::ScopedPalette palette(theme.palette);
        test::Harness h;
        MainWindowModel& m = h.start().main;
        MainWindowView view(m);
        view.show();
        m.showLastRun(QStringLiteral("AUTOSTART - MANUAL STOP"), colour::Red, QString());
        m.LAST_RUN_TEXTBOX.setForeground(0x000080); // dark red asked for: mended
        m.HEARTBEAT_COUNTDOWN_TEXTBOX.setBackground(colour::Black);
        m.HEARTBEAT_COUNTDOWN_TEXTBOX.setForeground(colour::Green);
        struct Field {
            const char* name;
            std::function<void()> paint;
            Colour background;
        };
        std::vector<Field> fields{
            {"TASK_2_PAUSE_TICKBOX", [&] { m.TASK_PAUSE_TICKBOX[2].setBackground(colour::Green); }, colour::Green},
            {"LAST_RUN_TEXTBOX", [] {}, colour::Red},
            {"LAST_RUN_TEXTBOX", [&] { m.showLastRun(text::kCompletedSuccessfully, colour::Green, QString()); },
             colour::Green},
            {"VERT_CAPS_LIGHT_LABEL", [&] { m.VERT_CAPS_LIGHT_LABEL.setBackground(colour::Red); }, colour::Red},
            {"AUTOSTART_TIMER_TEXTBOX", [&] { m.AUTOSTART_TIMER_TEXTBOX.setBackground(colour::Red); }, colour::Red},
            {"HEARTBEAT_COUNTDOWN_TEXTBOX", [] {}, colour::Black},
        };
        // A slot's light in each of its colours; not run, it is a plain field.
        for (Colour c : {colour::White, colour::Cyan, colour::Green, colour::Red})
            fields.push_back({"TASK_3_LIGHT", [&m, c] { m.TASK_LIGHT[3].setBackground(c); },
                              c == colour::White ? fromQColor(theme.palette.color(QPalette::Base)) : c});
        for (const auto& f : fields) {
            f.paint();
            QWidget* w = child<QWidget>(view, f.name);
            const QImage image = test::shot(w);
            const auto [background, contrast] = test::backgroundAndContrast(image, textArea(w) & image.rect());
            EXPECT_EQ(background, f.background) << theme.name << " " << f.name;
            EXPECT_GE(contrast, kReadableContrast) << theme.name << " " << f.name << std::hex << " on " << background;
        }
        // The heartbeat keeps its own green on black.
        EXPECT_EQ(child<QLineEdit>(view, "HEARTBEAT_COUNTDOWN_TEXTBOX")->palette().color(QPalette::Text),
                  toQColor(colour::Green));
        // A field without colours of its own follows the theme.
        auto* command = child<QLineEdit>(view, "TASK_1_CMD_TEXTBOX");
        EXPECT_EQ(command->palette().color(QPalette::Base), theme.palette.color(QPalette::Base)) << theme.name;
        EXPECT_EQ(command->palette().color(QPalette::Text), theme.palette.color(QPalette::Text)) << theme.name;
    }
}

TEST(Readability, TaskLightsTellTheirStateInWordsAndByAMarkNotByColourAlone)
{
    test::Harness h;
    MainWindowModel& m = h.start().main;
    MainWindowView view(m);
    view.show();
    auto* light = child<TaskLightEdit>(view, "TASK_2_LIGHT");
    const struct {
        Colour background;
        const char* tip;
        const char* spoken;
    } states[] = {
        {colour::White, "", "Slot 2: not run"},
        {colour::Cyan, "", "Slot 2: running"},
        {colour::Cyan, "still running, pid 42", "Slot 2: still running, pid 42"},
        {colour::Green, "", "Slot 2: done"},
        {colour::Red, "", "Slot 2: skipped"},
        {colour::Red, "exited with 3", "Slot 2: exited with 3"},
    };
    QMap<QString, QString> markOf;
    QMap<QString, QImage> shotOf;
    for (const auto& s : states) {
        m.TASK_LIGHT[2].setBackground(s.background);
        m.TASK_LIGHT[2].setToolTip(QString::fromLatin1(s.tip));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(light)->text(QAccessible::Name), QLatin1String(s.spoken));
        const QString state = QString::fromLatin1(s.spoken).section(QLatin1Char(' '), 2, 2);
        markOf[state] = light->mark();
        shotOf[state] = test::shot(light);
    }
    // Lights of one hue, or of hues too close to tell apart, differ by
    // their marks; what is drawn differs too.
    EXPECT_TRUE(markOf[QStringLiteral("not")].isEmpty());
    EXPECT_NE(markOf[QStringLiteral("running")], markOf[QStringLiteral("done")]);
    EXPECT_FALSE(markOf[QStringLiteral("skipped")].isEmpty());
    EXPECT_NE(markOf[QStringLiteral("skipped")], markOf[QStringLiteral("exited")]);
    EXPECT_NE(shotOf[QStringLiteral("skipped")], shotOf[QStringLiteral("exited")]);
    m.TASK_LIGHT_DblClick(2);
    EXPECT_EQ(light->accessibleName(), QStringLiteral("Slot 2: not run"));
}

// The width a field leaves for its text, inside its frame and margins.
int roomForText(QLineEdit* field)
{
    QStyleOptionFrame opt;
    opt.initFrom(field);
    opt.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, field);
    const QRect contents = field->style()->subElementRect(QStyle::SE_LineEditContents, &opt, field);
    const QMargins m = field->textMargins();
    return contents.width() - m.left() - m.right() - 2 * 2;
}

TEST(Readability, ClocksAndLightsShowTheirWholeTextInALargerFont)
{
    QFont large = QApplication::font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    test::ScopedFont font(large);
    test::Harness h;
    MainWindowModel& m = h.start().main;
    m.HEARTBEAT_COUNTDOWN_TEXTBOX.setText(QStringLiteral("00:05:01"));
    m.AUTOSTART_TIMER_TEXTBOX.setText(QStringLiteral("11"));
    MainWindowView view(m);
    view.show();
    for (const char* name : {"RUNTIME_TEXTBOX", "HEARTBEAT_COUNTDOWN_TEXTBOX", "AUTOSTART_TIMER_TEXTBOX",
                             "AUTOCLOSE_TIMER_TEXTBOX", "TASK_20_LIGHT", "TASK_11_LIGHT", "VERT_NUM_LIGHT_LABEL",
                             "VERT_CAPS_LIGHT_LABEL", "VERT_SCROLL_LIGHT_LABEL"}) {
        auto* field = child<QLineEdit>(view, name);
        EXPECT_LE(field->fontMetrics().horizontalAdvance(field->text()), roomForText(field))
            << name << " cuts \"" << field->text().toStdString() << "\"";
    }
}

TEST(Readability, LongTaskNamesAreShortenedWithTheWholeNameAsTooltip)
{
    const QString longName = QStringLiteral("Mirror every home folder to the backup disk, then verify the copy");
    test::Harness h;
    h.seed(QStringLiteral("TASK_2_TICKBOX_CAPTION"), longName);
    h.seed(QStringLiteral("TASK_3_TICKBOX_CAPTION"), QStringLiteral("R&D"));
    h.start();
    MainWindowView main(h.main());
    main.applyGeometry();
    main.show();
    auto manageModel = test::manageTasksWindow(h);
    manageModel.Form_Load();
    ManageTasksWindowView manage(manageModel, nullptr);
    manage.show();
    QApplication::processEvents();

    for (QWidget* window : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&manage)}) {
        const std::string where = window->objectName().toStdString();
        auto* two = child<ElidingCheckBox>(*window, "TASK_2_ENABLE_TICKBOX");
        ASSERT_NE(two, nullptr) << where;
        EXPECT_TRUE(two->elided()) << where;
        EXPECT_TRUE(two->text().endsWith(QChar(0x2026))) << where << ": " << two->text().toStdString();
        EXPECT_LE(two->fontMetrics().horizontalAdvance(two->text()), two->width()) << where;
        EXPECT_EQ(two->toolTip(), longName) << where;
        EXPECT_EQ(two->fullText(), longName) << where;
        // A short name shows whole, literally, with no tooltip of its own.
        auto* three = child<ElidingCheckBox>(*window, "TASK_3_ENABLE_TICKBOX");
        EXPECT_FALSE(three->elided()) << where;
        EXPECT_EQ(three->text(), QStringLiteral("R&&D")) << where;
        EXPECT_TRUE(three->toolTip().isEmpty()) << where;
    }
    // Shortened only on screen: ticking it still works, the name is kept.
    test::clickTick(child<QCheckBox>(main, "TASK_2_ENABLE_TICKBOX"));
    EXPECT_EQ(h.main().TASK_ENABLE_TICKBOX[2].value(), 1);
    EXPECT_EQ(h.main().TASK_ENABLE_TICKBOX[2].caption(), longName);
    // With room enough the whole name shows again.
    main.resize(3000, main.height());
    QApplication::processEvents();
    EXPECT_FALSE(child<ElidingCheckBox>(main, "TASK_2_ENABLE_TICKBOX")->elided());
}

} // namespace
} // namespace zb
