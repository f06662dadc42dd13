// Message boxes, the file and colour dialogs, the location dialogs and popup
// menus, answered the way a user would answer them.

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "app/RomFiles.h"
#include "frontends/qt/QtClientArea.h"
#include "frontends/qt/QtConversions.h"
#include "frontends/qt/QtLocationDialog.h"
#include "frontends/qt/QtMainWindow.h"
#include "tests/qt/QtEditorFixture.h"
#include "window/ControlIds.h"
#include "window/Layout.h"

namespace tintwright::qt::testing {
namespace {

using QtDialogsTest = QtEditorFixture;

TEST_F(QtDialogsTest, AboutShowsTheCreditBoxOwnedByTheMainWindow) {
    StartEditor();
    bool mainWindowBlocked = false;
    answerer.Expect([&](QWidget* shown) {
        auto* box = qobject_cast<QMessageBox*>(shown);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle().toStdString(), kMainWindowCaption);
        EXPECT_EQ(box->text().toStdString(), kAboutText);
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        mainWindowBlocked = !windowSystem->MainWindowWidget()->isEnabled();
        ClickButton(shown, "OK");
    });
    windowSystem->MainWindowWidget()->menuBar()->actions()[3]->menu()->actions()[0]->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answerer.AllAnswered(); }, 5000));
    EXPECT_TRUE(mainWindowBlocked);
    QTRY_VERIFY(windowSystem->MainWindowWidget()->isEnabled());
}

struct BoxRow {
    unsigned style;
    QMessageBox::Icon icon;
    const char* click;  // nullptr: closed with Escape
    int answer;
};

TEST_F(QtDialogsTest, MessageBoxesShowTheirStyleAndReturnTheAnswer) {
    StartRecorderOnly();
    const BoxRow rows[] = {
        {box::kOk | box::kIconWarning, QMessageBox::Warning, "OK", box::kAnswerOk},
        {box::kOk | box::kIconInformation, QMessageBox::Information, nullptr, box::kAnswerOk},
        {box::kYesNo | box::kIconQuestion, QMessageBox::Question, "Yes", box::kAnswerYes},
        {box::kYesNo | box::kIconQuestion, QMessageBox::Question, "No", box::kAnswerNo},
        {box::kYesNo | box::kIconQuestion, QMessageBox::Question, nullptr, box::kAnswerNo},
    };
    for (const BoxRow& row : rows) {
        SCOPED_TRACE(row.click == nullptr ? "Escape" : row.click);
        answerer.Expect([&](QWidget* shown) {
            auto* box = qobject_cast<QMessageBox*>(shown);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->icon(), row.icon);
            EXPECT_EQ(box->windowTitle(), "Are you sure?");
            EXPECT_EQ(box->text(), "Name :<b>Alpha</b>\nOffset :$8000") << "plain text, one line break";
            if (row.click != nullptr) {
                ClickButton(shown, row.click);
            } else {
                QTest::keyClick(shown, Qt::Key_Escape);
            }
        });
        EXPECT_EQ(
            windowSystem->ShowMessageBox("Name :<b>Alpha</b>\r\nOffset :$8000", "Are you sure?", row.style),
            row.answer);
    }
}

TEST_F(QtDialogsTest, OpenDialogOffersTheRomFiltersAndReturnsTheChosenFile) {
    StartRecorderOnly();
    const std::string rom = dir.File("game.smc");
    ::tintwright::testing::WriteBytes(rom, {1, 2, 3});
    answerer.Expect([&](QWidget* shown) {
        auto* dialog = qobject_cast<QFileDialog*>(shown);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Open Source Snes Rom ...");
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        ASSERT_EQ(types->count(), 2);
        EXPECT_EQ(types->itemText(0), "Snes Rom (*.smc)");
        EXPECT_EQ(types->itemText(1), "All Files (*.*)");
        EXPECT_EQ(types->currentIndex(), 0);
        EXPECT_TRUE(dialog->nameFilters()[1].endsWith("(*)")) << "all files means names without a dot too";
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(rom));
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(windowSystem->ShowFileDialog(OpenSourceRomRequest("")), rom);
    answerer.Expect([](QWidget* shown) { ClickButton(shown, "Cancel"); });
    EXPECT_EQ(windowSystem->ShowFileDialog(OpenSourceRomRequest(rom)), std::nullopt);
}

TEST_F(QtDialogsTest, SaveDialogStaysOnTopAddsTheExtensionAndRefusesMissingFolders) {
    StartRecorderOnly();
    const auto typeName = [](QWidget* shown, const QString& name) {
        shown->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
        qobject_cast<QDialog*>(shown)->accept();
    };
    answerer.Expect([&](QWidget* shown) {
        auto* dialog = qobject_cast<QFileDialog*>(shown);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Save Rom as ...");
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        typeName(shown, QString::fromStdString(dir.File("missing/edited")));
    });
    answerer.Expect([](QWidget* shown) {
        EXPECT_NE(qobject_cast<QMessageBox*>(shown), nullptr) << "the missing folder is reported";
        ClickButton(shown, "OK");
    });
    answerer.Expect([&](QWidget* shown) { typeName(shown, QString::fromStdString(dir.File("edited"))); });
    EXPECT_EQ(windowSystem->ShowFileDialog(ChooseSaveRomRequest(dir.File("old.smc"))),
              dir.File("edited.smc"));
}

TEST_F(QtDialogsTest, ColorDialogGivesTheColorUnreducedOrNothing) {
    StartRecorderOnly();
    ColorDialogRequest request;
    request.customColors.fill(0x00FFFFFF);
    answerer.Expect([](QWidget* shown) {
        auto* dialog = qobject_cast<QColorDialog*>(shown);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->currentColor(), QColor(Qt::black));
        EXPECT_EQ(QColorDialog::customColor(0), QColor(Qt::white));
        dialog->setCurrentColor(QColor(13, 200, 77));
        dialog->accept();
    });
    EXPECT_EQ(windowSystem->ShowColorDialog(request), std::optional<RgbColor>(0x004DC80D));
    answerer.Expect([](QWidget* shown) { qobject_cast<QDialog*>(shown)->reject(); });
    EXPECT_EQ(windowSystem->ShowColorDialog(request), std::nullopt);
}

TEST_F(QtDialogsTest, PopupMenuChoiceArrivesAsACommandAfterTheMenuCloses) {
    StartRecorderOnly();
    answerer.Expect([](QWidget* shown) {
        auto* menu = qobject_cast<QMenu*>(shown);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title(), "Tools");
        menu->setActiveAction(menu->actions()[0]);  // "Gradient Fill"
        QTest::keyClick(menu, Qt::Key_Return);
    });
    windowSystem->ShowPopupMenu(ids::kToolsPopupIndex, Point{200, 200});
    EXPECT_EQ(events->Count("OnCommand", {10009, 0}), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(events->Count("OnCommand", {10009, 0}), 1);
}

TEST_F(QtDialogsTest, LocationDialogIsAToolWindowWithTheTemplateItems) {
    StartRecorderOnly();
    const DialogHandle handle = windowSystem->CreateLocationDialog(LocationDialogForm::Edit, 7);
    ASSERT_NE(handle, 0);
    EXPECT_EQ(events->Count("OnLocationDialogInit", {handle, 1, 7}), 1);
    QtLocationDialog* dialog = windowSystem->LocationDialog(handle);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    EXPECT_EQ(dialog->windowTitle().toStdString(), kLocationDialogCaption);
    EXPECT_EQ(dialog->windowType(), Qt::Tool);
    EXPECT_EQ(dialog->size(), QSize(479, 104));
    const QPoint client = windowSystem->MainWindowWidget()->ClientArea()->mapToGlobal(QPoint(9, 10));
    EXPECT_EQ(dialog->pos(), client);
    for (const ControlEntry& entry : LocationDialogControls()) {
        EXPECT_EQ(dialog->Item(entry.id)->geometry(), ToQRect(ControlPixelRect(entry))) << entry.id;
        EXPECT_EQ(windowSystem->GetDialogText(handle, entry.id, 255), entry.caption);
    }

    windowSystem->SetDialogText(handle, 0, "Edit Patch Location");
    windowSystem->SetDialogText(handle, ids::kDialogNameField, "Boss");
    windowSystem->EnableDialogItem(handle, ids::kDialogNameField, false);
    windowSystem->ShowDialogItem(handle, ids::kDialogCleanButton, false);
    EXPECT_EQ(dialog->windowTitle(), "Edit Patch Location");
    EXPECT_EQ(windowSystem->GetDialogText(handle, ids::kDialogNameField, 2), "Bo");
    EXPECT_FALSE(dialog->Item(ids::kDialogNameField)->isEnabled());
    EXPECT_FALSE(dialog->Item(ids::kDialogCleanButton)->isVisible());

    QTest::mouseClick(dialog->Item(ids::kDialogConfirmButton), Qt::LeftButton);
    EXPECT_EQ(events->Count("OnLocationDialogCommand", {handle, 1021, 0}), 1);
    dialog->close();
    EXPECT_EQ(events->Count("OnLocationDialogClose", {handle}), 1);
    EXPECT_TRUE(dialog->isVisible()) << "the logic ends the dialog, not the close box";
    const QPointer<QtLocationDialog> watched(dialog);
    windowSystem->EndLocationDialog(handle);
    EXPECT_EQ(windowSystem->LocationDialog(handle), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
}

TEST_F(QtDialogsTest, DialogBoxBlocksOnlyItsDialogAndDialogsGoWithTheMainWindow) {
    StartRecorderOnly();
    const DialogHandle first = windowSystem->CreateLocationDialog(LocationDialogForm::Add, 0);
    const DialogHandle second = windowSystem->CreateLocationDialog(LocationDialogForm::Add, 0);
    EXPECT_NE(first, second);
    answerer.Expect([&](QWidget* shown) {
        EXPECT_FALSE(windowSystem->LocationDialog(first)->isEnabled());
        EXPECT_TRUE(windowSystem->LocationDialog(second)->isEnabled());
        EXPECT_TRUE(windowSystem->MainWindowWidget()->isEnabled());
        ClickButton(shown, "Yes");
    });
    EXPECT_EQ(windowSystem->ShowDialogMessageBox(first, "0001A000", "Boss", box::kYesNo | box::kIconQuestion),
              box::kAnswerYes);
    EXPECT_TRUE(windowSystem->LocationDialog(first)->isEnabled());

    const QPointer<QtLocationDialog> watched(windowSystem->LocationDialog(second));
    windowSystem->DestroyMainWindow();
    EXPECT_EQ(events->Count("OnDestroy"), 1);
    EXPECT_EQ(windowSystem->LocationDialog(first), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
}

}  // namespace
}  // namespace tintwright::qt::testing
