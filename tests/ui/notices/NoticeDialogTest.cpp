// The notice dialogs driven offscreen in both languages. With ZFU_SCREENSHOT_DIR set, the first
// test also saves a PNG of each dialog there (<dialog>-<en|ja>.png) for looking at.
#include "base/Language.h"
#include "base/MessageCatalog.h"
#include "ui/controls/BitmapResources.h"
#include "ui/controls/ColorEdit.h"
#include "ui/notices/CompDlg.h"
#include "ui/notices/OpeningDlg.h"
#include "ui/notices/StartDlg.h"

#include "common/TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

namespace {

struct DialogKind {
    const char* name;
    std::function<std::unique_ptr<CNoticeDialog>(quint16 language)> make;
    QVector<int> texts;
    QVector<int> buttons;
};

template <class Dlg>
std::unique_ptr<CNoticeDialog> Make(quint16 language)
{
    auto dlg = std::make_unique<Dlg>();
    dlg->m_wLanguage = language;
    return dlg;
}

const DialogKind kCaution{"caution", Make<COpeningDlg>,
                          {IDC_CAUTION_HEADING, IDC_CAUTION_RISK, IDC_CAUTION_RESPONSIBILITY,
                           IDC_CAUTION_SETTINGS_LOST, IDC_CAUTION_BACKUP, IDC_CAUTION_QUESTION},
                          {IDOK, IDCANCEL}};
const DialogKind kConfirmation{"confirmation", Make<CStartDlg>,
                               {IDC_CONFIRM_FIRST, IDC_NOTICE_POWER, IDC_CONFIRM_LATER, IDC_CONFIRM_QUESTION},
                               {IDOK, IDCANCEL}};
const DialogKind kCompletion{"completion", Make<CCompDlg>, {IDC_COMPLETE_TEXT, IDC_NOTICE_POWER}, {IDOK}};
const DialogKind* const kKinds[] = {&kCaution, &kConfirmation, &kCompletion};
const quint16 kLanguages[] = {LanguageEnglishUs, LanguageJapanese};

const char* LanguageName(quint16 language)
{
    return language == LanguageJapanese ? "ja" : "en";
}

// Shows the dialog without a modal loop and waits until it is on screen.
void Show(CNoticeDialog& dlg)
{
    dlg.show();
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return dlg.isVisible(); }));
    QCoreApplication::processEvents();
}

CColorEdit* Edit(const CNoticeDialog& dlg, int id)
{
    return qobject_cast<CColorEdit*>(dlg.Item(id));
}

QString WithoutTrailingBlanks(QString line)
{
    while (!line.isEmpty() && line.back().isSpace())
        line.chop(1);
    return line;
}

// Where `edit` draws `length` characters from `position`, in its parent's (client) coordinates.
QRect DrawnRect(const CColorEdit& edit, int position, int length)
{
    QTextCursor cursor(edit.document());
    cursor.setPosition(position);
    const QRect start = edit.cursorRect(cursor);
    cursor.setPosition(position + length);
    const QRect end = edit.cursorRect(cursor);
    const QRect inViewport(QPoint(start.left(), start.top()), QPoint(end.left() - 1, start.bottom()));
    return QRect(edit.viewport()->mapTo(edit.parentWidget(), inViewport.topLeft()), inViewport.size());
}

// Whether a sibling stacked above `widget` covers any part of `rect` (client coordinates).
const QWidget* CoveringSibling(const QWidget& widget, const QRect& rect)
{
    const QObjectList& siblings = widget.parentWidget()->children();
    for (int i = siblings.indexOf(const_cast<QWidget*>(&widget)) + 1; i < siblings.size(); ++i) {
        const auto* above = qobject_cast<const QWidget*>(siblings[i]);
        if (above && above->isVisible() && above->geometry().intersects(rect))
            return above;
    }
    return nullptr;
}

// Every line of every text: where the control draws it, ink included, lies inside the control's
// text area, inside the dialog's client area, and under no other control.
void ExpectEveryLineVisible(const CNoticeDialog& dlg, const QVector<int>& ids)
{
    for (int id : ids) {
        const CColorEdit* edit = Edit(dlg, id);
        ASSERT_NE(edit, nullptr) << id;
        EXPECT_EQ(edit->horizontalScrollBar()->value(), 0) << id;
        EXPECT_EQ(edit->verticalScrollBar()->value(), 0) << id;
        const QRect area = edit->FormattingRect().translated(edit->pos());
        const QRect client(QPoint(0, 0), dlg.ClientRect().size());
        const QStringList lines = edit->Text().split(QStringLiteral("\r\n"));
        ASSERT_GE(lines.size(), 1);
        QTextBlock block = edit->document()->begin();
        for (const QString& line : lines) {
            SCOPED_TRACE(testing::Message() << "item " << id << ": " << line.toStdString());
            ASSERT_TRUE(block.isValid());
            const QString visible = WithoutTrailingBlanks(line);
            if (!visible.isEmpty()) {
                const TestSupport::InkExtent ink = TestSupport::LineInk(edit->font(), visible);
                const QRect pen = DrawnRect(*edit, block.position(), visible.size());
                const QRect drawn(pen.left() + ink.left, pen.top(), ink.Width(), pen.height());
                EXPECT_TRUE(area.contains(drawn)) << "drawn outside the text area: " << testing::PrintToString(drawn)
                                                  << " in " << testing::PrintToString(area);
                EXPECT_TRUE(client.contains(drawn)) << "drawn outside the dialog";
                const QWidget* cover = CoveringSibling(*edit, drawn);
                EXPECT_EQ(cover, nullptr) << "covered by another control";
            }
            block = block.next();
        }
        EXPECT_FALSE(block.isValid()) << "more lines shown than the text has";
    }
}

void ExpectButtonsReadable(const CNoticeDialog& dlg, const QVector<int>& ids)
{
    for (int id : ids) {
        const auto* button = qobject_cast<QPushButton*>(dlg.Item(id));
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->text().isEmpty());
        EXPECT_LT(TestSupport::LineInk(button->font(), button->text()).Width(), button->width()) << id;
        EXPECT_TRUE(QRect(QPoint(0, 0), dlg.ClientRect().size()).contains(button->geometry())) << id;
    }
}

struct Snapshot {
    QSize size;
    QVector<QRect> items;
    bool operator==(const Snapshot& other) const { return size == other.size && items == other.items; }
};

Snapshot Take(const CNoticeDialog& dlg, const DialogKind& kind)
{
    Snapshot shot{dlg.size(), {}};
    for (int id : kind.texts + kind.buttons)
        shot.items.append(dlg.ItemRect(id));
    return shot;
}

// The languages the program shows on this system: both, or on a Japanese system, whose usual
// font is another (the suite runs this test there as well), Japanese.
QVector<quint16> LanguagesShownHere()
{
    if (ChooseLanguage(SystemLocaleId()) == LanguageJapanese)
        return {LanguageJapanese};
    return {LanguageEnglishUs, LanguageJapanese};
}

TEST(NoticeDialogs, EveryLineFitsAndTwoShowingsHaveOneLayout)
{
    const QString pictures = qEnvironmentVariable("ZFU_SCREENSHOT_DIR");
    for (const DialogKind* kind : kKinds) {
        for (quint16 language : LanguagesShownHere()) {
            SCOPED_TRACE(testing::Message() << kind->name << " " << LanguageName(language));
            const auto dlg = kind->make(language);
            Show(*dlg);
            ExpectEveryLineVisible(*dlg, kind->texts);
            ExpectButtonsReadable(*dlg, kind->buttons);
            const Snapshot first = Take(*dlg, *kind);
            if (!pictures.isEmpty()) // the pictures for the README and for looking
                dlg->grab().save(QDir(pictures).filePath(QStringLiteral("%1-%2.png").arg(
                    QLatin1String(kind->name), QLatin1String(LanguageName(language)))));
            dlg->reject();
            Show(*dlg);
            EXPECT_TRUE(Take(*dlg, *kind) == first) << "the second showing differs";
            ExpectEveryLineVisible(*dlg, kind->texts);
            dlg->reject();
        }
    }
}

// A notice whose one line is far longer than its template allows, as a wider font than the
// templates were drawn for makes the real ones: the notice widens and stays centred.
class CTightNotice : public CNoticeDialog {
public:
    CTightNotice() : CNoticeDialog(QSize(60, 40), Frame::Caption, nullptr)
    {
        AddText(kText, 4, 4, 40, 12, true);
        AddButton(IDOK, 5, 20, 50, 14, QStringLiteral("OK"));
    }
    static constexpr int kText = 100;
    void OnInitDialog() override { Text(kText)->SetText(QStringLiteral("A line far longer than forty units")); }
};

TEST(NoticeDialogs, ALineLongerThanItsTemplateWidensTheNotice)
{
    CTightNotice dlg;
    for (int showing = 0; showing < 2; ++showing) {
        Show(dlg);
        ExpectEveryLineVisible(dlg, {CTightNotice::kText});
        EXPECT_GT(dlg.Widening(), 0);
        EXPECT_EQ(dlg.ClientRect().width(), dlg.Units().ToPixelsX(60) + dlg.Widening());
        EXPECT_NEAR(dlg.ItemRect(IDOK).center().x(), dlg.ClientRect().width() / 2, 1);
        dlg.reject();
    }
}

// Runs the dialog modally and answers it with one key.
int AnswerWithKey(CNoticeDialog& dlg, Qt::Key key)
{
    TestSupport::OnNextModal([key](QWidget* modal) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : modal;
        QTest::keyClick(target, key);
    });
    return dlg.exec();
}

TEST(NoticeDialogs, EnterAndEscapeAnswers)
{
    for (quint16 language : kLanguages) {
        SCOPED_TRACE(LanguageName(language));
        // The caution and the confirmation open with focus and default on the refusing button.
        for (const DialogKind* kind : {&kCaution, &kConfirmation}) {
            const auto dlg = kind->make(language);
            EXPECT_EQ(AnswerWithKey(*dlg, Qt::Key_Return), QDialog::Rejected) << kind->name;
            EXPECT_EQ(AnswerWithKey(*dlg, Qt::Key_Escape), QDialog::Rejected) << kind->name;
            EXPECT_EQ(AnswerWithKey(*dlg, Qt::Key_Enter), QDialog::Rejected) << kind->name;
        }
        const auto comp = kCompletion.make(language);
        EXPECT_EQ(AnswerWithKey(*comp, Qt::Key_Return), QDialog::Accepted);
        EXPECT_EQ(AnswerWithKey(*comp, Qt::Key_Escape), QDialog::Rejected);
    }
}

TEST(NoticeDialogs, AcceptingButtonsAccept)
{
    for (const DialogKind* kind : kKinds) {
        const auto dlg = kind->make(LanguageEnglishUs);
        TestSupport::OnNextModal([&](QWidget*) { qobject_cast<QPushButton*>(dlg->Item(IDOK))->click(); });
        EXPECT_EQ(dlg->exec(), QDialog::Accepted) << kind->name;
    }
}

TEST(NoticeDialogs, CaptionsColoursAndButtonsByLanguage)
{
    struct Expect {
        quint16 language;
        const char* cautionYes;
        const char* cautionNo;
        const char* confirmYes;
        const char* confirmNo;
    };
    for (const Expect& e : {Expect{LanguageEnglishUs, "Yes", "No", "Yes", "No"},
                            Expect{LanguageJapanese, u8"はい", u8"いいえ", "OK", u8"キャンセル"}}) {
        SCOPED_TRACE(LanguageName(e.language));
        const auto caution = kCaution.make(e.language);
        const auto start = kConfirmation.make(e.language);
        const auto comp = kCompletion.make(e.language);
        for (CNoticeDialog* dlg : {caution.get(), start.get(), comp.get()})
            Show(*dlg);
        const auto caption = [](const CNoticeDialog& dlg, int id) {
            return qobject_cast<QPushButton*>(dlg.Item(id))->text().toStdString();
        };
        EXPECT_EQ(caption(*caution, IDOK), e.cautionYes);
        EXPECT_EQ(caption(*caution, IDCANCEL), e.cautionNo);
        EXPECT_EQ(caption(*start, IDOK), e.confirmYes);
        EXPECT_EQ(caption(*start, IDCANCEL), e.confirmNo);
        EXPECT_EQ(caption(*comp, IDOK), "OK");
        EXPECT_EQ(comp->findChildren<QPushButton*>().size(), 1);

        EXPECT_EQ(caution->windowTitle(), QString::fromUtf8(FixedText::ProductTitle));
        EXPECT_TRUE(caution->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(start->windowTitle(), QStringLiteral("Firmware Update"));
        EXPECT_EQ(comp->windowTitle(), QStringLiteral("Firmware Update"));

        const COLORREF red = RGB(255, 0, 0);
        EXPECT_EQ(Edit(*caution, IDC_CAUTION_RISK)->TextColor(), red);
        EXPECT_EQ(Edit(*caution, IDC_CAUTION_BACKUP)->TextColor(), red);
        EXPECT_EQ(Edit(*caution, IDC_CAUTION_HEADING)->TextColor() == red, e.language == LanguageEnglishUs);
        EXPECT_EQ(Edit(*caution, IDC_CAUTION_QUESTION)->TextColor(), SysColorBtnText());
        EXPECT_EQ(Edit(*caution, IDC_CAUTION_QUESTION)->BackgroundColor(), RGB(255, 255, 255));
        EXPECT_EQ(Edit(*start, IDC_NOTICE_POWER)->TextColor(), red);
        EXPECT_EQ(Edit(*start, IDC_CONFIRM_LATER)->TextColor(), SysColorBtnText());
        EXPECT_EQ(Edit(*comp, IDC_NOTICE_POWER)->TextColor(), red);
        EXPECT_EQ(Edit(*comp, IDC_NOTICE_POWER)->Text(), LoadText(IDS_COMPLETE_POWER, e.language));
    }
}

// The template's client width in pixels for a dialog as shown.
int TemplateWidth(const CNoticeDialog& dlg, int units)
{
    return dlg.Units().ToPixelsX(units);
}

TEST(NoticeDialogs, EnglishCautionKeepsItsWidthAndNudgesTheLowerTexts)
{
    const auto dlg = kCaution.make(LanguageEnglishUs);
    Show(*dlg);
    const CDialogUnits& u = dlg->Units();
    // Wider by what a font needs beyond the template (Wine's Tahoma does), texts and all.
    const int w = dlg->Widening();
    const auto text = [&](const QRect& r) { return r.adjusted(0, 0, w, 0); };
    EXPECT_EQ(dlg->ClientRect().width(), TemplateWidth(*dlg, 288) + w);
    EXPECT_EQ(dlg->ItemRect(IDC_CAUTION_RISK), text(u.ToPixels(7, 140, 281, 24)));
    EXPECT_EQ(dlg->ItemRect(IDC_CAUTION_RESPONSIBILITY), text(u.ToPixels(7, 164, 275, 36).translated(0, 9)));
    EXPECT_EQ(dlg->ItemRect(IDC_CAUTION_SETTINGS_LOST), text(u.ToPixels(7, 193, 272, 26).translated(0, 9)));
    EXPECT_EQ(dlg->ItemRect(IDC_CAUTION_BACKUP), text(u.ToPixels(7, 201, 280, 26).translated(0, 23)));
    EXPECT_EQ(dlg->ItemRect(IDC_CAUTION_QUESTION), text(u.ToPixels(7, 220, 274, 12).translated(0, 23)));
    EXPECT_EQ(dlg->ItemRect(IDOK), u.ToPixels(87, 250, 50, 14).translated(w / 2, 0));
}

int ReferenceWidth(const CNoticeDialog& dlg, const char* line)
{
    return int(std::ceil(QFontMetricsF(dlg.font()).horizontalAdvance(QString::fromUtf8(line))));
}

TEST(NoticeDialogs, MeasuredControlsEndWhereTheirReferenceLinesEnd)
{
    const auto caution = kCaution.make(LanguageJapanese);
    Show(*caution);
    const NoticeLayoutPlan& plan = NoticePlans::CautionJapanese;
    const int growth = ReferenceWidth(*caution, plan.referenceLine) - TemplateWidth(*caution, 281);
    // Wider by what a font needs beyond the reference lines (Wine's own rendering does).
    const int w = caution->Widening();
    EXPECT_EQ(Edit(*caution, IDC_CAUTION_RISK)->FormattingRect().width(),
              ReferenceWidth(*caution, plan.referenceLine) + w);
    EXPECT_EQ(Edit(*caution, IDC_CAUTION_HEADING)->FormattingRect().width(),
              ReferenceWidth(*caution, plan.secondReferenceLine) + w);
    EXPECT_EQ(caution->ClientRect().width(), TemplateWidth(*caution, 288) + growth + plan.margin + w);
    const QRect risk = caution->ItemRect(IDC_CAUTION_RISK);
    for (int id : {IDC_CAUTION_RESPONSIBILITY, IDC_CAUTION_SETTINGS_LOST})
        EXPECT_EQ(caution->ItemRect(id).right(), risk.right()) << id;
    EXPECT_EQ(caution->ItemRect(IDC_CAUTION_BACKUP).width(), TemplateWidth(*caution, 280) + w);
    EXPECT_EQ(caution->ItemRect(IDC_CAUTION_BACKUP).top(), caution->Units().ToPixelsY(201)); // no nudge
    EXPECT_EQ(caution->ItemRect(IDOK).left(), ShiftedEdge(TemplateWidth(*caution, 87), growth, plan.shift) + w / 2);

    struct Measured {
        const DialogKind* kind;
        quint16 language;
        const NoticeLayoutPlan* plan;
        int templateWidth;
    };
    for (const Measured& m : {Measured{&kConfirmation, LanguageJapanese, &NoticePlans::ConfirmationJapanese, 271},
                              Measured{&kCompletion, LanguageEnglishUs, &NoticePlans::CompletionEnglish, 350},
                              Measured{&kCompletion, LanguageJapanese, &NoticePlans::CompletionJapanese, 350}}) {
        SCOPED_TRACE(testing::Message() << m.kind->name << " " << LanguageName(m.language));
        const auto dlg = m.kind->make(m.language);
        Show(*dlg);
        const int reference = ReferenceWidth(*dlg, m.plan->referenceLine);
        const int templateText = TemplateWidth(*dlg, m.kind == &kCompletion ? 332 : 258);
        EXPECT_EQ(Edit(*dlg, m.plan->measuredId)->FormattingRect().width(), reference + dlg->Widening());
        EXPECT_EQ(dlg->width(),
                  TemplateWidth(*dlg, m.templateWidth) + reference - templateText + m.plan->margin + dlg->Widening());
    }

    // English confirmation: nothing measured, the template as it is.
    const auto start = kConfirmation.make(LanguageEnglishUs);
    Show(*start);
    EXPECT_EQ(start->width(), TemplateWidth(*start, 271) + start->Widening());
    EXPECT_EQ(start->ItemRect(IDC_CONFIRM_LATER),
              start->Units().ToPixels(7, 46, 258, 44).adjusted(0, 0, start->Widening(), 0));
}

} // namespace

bool NearlyCentred(const QRect& inner, const QRect& outer)
{
    const QPoint offset = inner.center() - outer.center();
    return std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1;
}

TEST(NoticeDialogs, CentredOnTheScreenOrOverTheActiveWindowAfterWidening)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const auto caution = kCaution.make(LanguageJapanese);
    Show(*caution);
    EXPECT_TRUE(NearlyCentred(caution->frameGeometry(), screen));
    caution->reject();

    QWidget owner;
    owner.setGeometry(screen.left() + 40, screen.top() + 30, screen.width() - 60, screen.height() - 50);
    owner.show();
    for (const DialogKind* kind : {&kConfirmation, &kCompletion}) {
        owner.activateWindow();
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return QApplication::activeWindow() == &owner; }));
        const auto dlg = kind->make(LanguageJapanese);
        Show(*dlg);
        EXPECT_TRUE(NearlyCentred(dlg->frameGeometry(), owner.frameGeometry()))
            << kind->name << " " << testing::PrintToString(dlg->frameGeometry()) << " over "
            << testing::PrintToString(owner.frameGeometry()) << " screen " << testing::PrintToString(screen);
        dlg->reject();
    }
}

// Also run on screens scaled by 1.25 to 2 (see CMakeLists.txt): the pictures are those drawn
// for the scale, pixel for pixel where a picture pixel is a whole number of screen pixels, and
// the border is one screen pixel all round, on the outermost pixels.
TEST(NoticeDialogs, CautionPicturesStayCentredInEitherWidth)
{
    for (quint16 language : kLanguages) {
        SCOPED_TRACE(LanguageName(language));
        const auto dlg = kCaution.make(language);
        Show(*dlg);
        const qreal scale = dlg->devicePixelRatioF();
        SCOPED_TRACE(testing::Message() << "scale " << scale);
        const QImage shown = dlg->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect client = dlg->ClientRect();
        for (const auto& [bitmap, top] : {std::pair{uint(IDB_BANNER), COpeningDlg::kBannerTop},
                                          std::pair{uint(IDB_LOGO), COpeningDlg::kLetteringTop}}) {
            const QImage picture = LoadBitmapResourceImage(bitmap, scale).convertToFormat(QImage::Format_RGB32);
            ASSERT_FALSE(picture.isNull()) << bitmap;
            // The plain picture's size is the room it takes on any screen.
            const QSize room = LoadBitmapResourceImage(bitmap).size();
            EXPECT_EQ(picture.size(), scale > 1 ? room * 2 : room) << bitmap;
            const QPoint at(client.left() + (client.width() - room.width()) / 2,
                            client.top() + dlg->Units().ToPixelsY(top));
            if (scale == std::floor(scale)) {
                const int s = int(scale);
                EXPECT_TRUE(shown.copy(QRect(at * s, room * s)) == picture.scaled(room * s)) << bitmap;
            }
        }
        // The rest of the client area is white.
        const QRect inside(QPoint(1, 1), shown.size() - QSize(2, 2));
        EXPECT_EQ(shown.pixel(inside.topLeft()), qRgb(255, 255, 255));
        EXPECT_EQ(shown.pixel(inside.bottomRight()), qRgb(255, 255, 255));

        const QRgb border = dlg->palette().color(QPalette::WindowText).rgb();
        int outer = 0, inner = 0;
        const auto count = [&](const QRect& ring, int& hits) {
            for (int x = ring.left(); x <= ring.right(); ++x)
                hits += (shown.pixel(x, ring.top()) == border) + (shown.pixel(x, ring.bottom()) == border);
            for (int y = ring.top() + 1; y < ring.bottom(); ++y)
                hits += (shown.pixel(ring.left(), y) == border) + (shown.pixel(ring.right(), y) == border);
        };
        count(shown.rect(), outer);
        count(inside, inner);
        EXPECT_EQ(outer, 2 * (shown.width() + shown.height()) - 4) << "the outermost ring is the border, whole";
        EXPECT_EQ(inner, 0) << "the border is one screen pixel wide";
        // Whole resize steps (2 pixels at 1.5 and 1.75), which window managers may keep to.
        const QSize pixels = dlg->size() * scale;
        EXPECT_EQ(pixels.width() % qRound(scale) + pixels.height() % qRound(scale), 0);
    }
}

// The objects at and below `iface` that hold text, as a screen reader walks them.
void CollectTexts(QAccessibleInterface* iface, QList<QAccessibleInterface*>& texts)
{
    if (iface->role() == QAccessible::StaticText || iface->role() == QAccessible::EditableText)
        texts << iface;
    for (int i = 0; i < iface->childCount(); ++i)
        CollectTexts(iface->child(i), texts);
}

bool AmongTheApplicationsWindows(const QObject* window)
{
    QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
    for (int i = 0; i < app->childCount(); ++i)
        if (app->child(i)->object() == window)
            return true;
    return false;
}

TEST(NoticeDialogs, ScreenReadersHearTheTextsOnceWhileTheNoticeIsOpen)
{
    for (const DialogKind* kind : kKinds) {
        for (quint16 language : kLanguages) {
            SCOPED_TRACE(testing::Message() << kind->name << " " << LanguageName(language));
            const auto dlg = kind->make(language);
            Show(*dlg);
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(dlg.get());
            QStringList expected;
            for (int id : kind->texts)
                expected << Edit(*dlg, id)->toPlainText().simplified();
            EXPECT_EQ(iface->text(QAccessible::Description), expected.join(QLatin1Char('\n')));
            EXPECT_FALSE(expected.join(QString()).isEmpty());
            // One readable text, which no key lands on, where each paragraph was a text of its own.
            QList<QAccessibleInterface*> texts;
            CollectTexts(iface, texts);
            ASSERT_EQ(texts.size(), 1);
            EXPECT_EQ(texts[0]->text(QAccessible::Name), expected.join(QLatin1Char('\n')));
            EXPECT_FALSE(texts[0]->state().focusable);
            EXPECT_TRUE(AmongTheApplicationsWindows(dlg.get()));
            dlg->reject();
            QCoreApplication::processEvents();
            EXPECT_FALSE(AmongTheApplicationsWindows(dlg.get())) << "a closed notice stays";
        }
    }
}
