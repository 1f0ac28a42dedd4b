#include "FrameworkSampleDialog.h"
#include "TestHost.h"
#include "TestRegistry.h"

#include "DeviceDescription.h"
#include "ItemStore.h"
#include "ScriptedMessageBox.h"
#include "VexAppletItemManager.h"
#include "VexaControlTexts.h"
#include "VexaCtrlItemHandler.h"
#include "VexaEnumCombo.h"
#include "VexaItemBinding.h"
#include "VexaLabel.h"
#include "VexaLabelComboUnit.h"
#include "VexaLabelTextUnit.h"
#include "VexaTextLookup.h"
#include "VexaValueEdit.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QStandardItemModel>
#include <QTest>
#include <QVBoxLayout>

namespace {

QString datasetText(VexAppletItemManager &manager, const QString &name)
{
    ItemStore &store = manager.store();
    return store.text(store.indexOf(name), false);
}

} // namespace

// The framework's edit and label controls on the real host and the
// transmitter's own items.
class tst_FrameworkControls : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestHost> m_host;
    std::unique_ptr<QWidget> m_dialog;
    VexaCtrlItemHandler *m_handler = nullptr;

    VexAppletItemManager &manager() { return *m_host->manager(); }

    template <typename Control> Control *place(const char *property, const QString &item)
    {
        auto *control = new Control(m_dialog.get());
        control->setProperty(property, item);
        m_dialog->layout()->addWidget(control);
        return control;
    }

    void bind()
    {
        m_dialog->show();
        m_handler->registerControls(m_dialog.get(), m_host->manager());
    }

private Q_SLOTS:
    void init()
    {
        m_host = std::make_unique<TestHost>(testhost::builtInDescription());
        m_dialog = std::make_unique<QWidget>();
        new QVBoxLayout(m_dialog.get());
        m_handler = new VexaCtrlItemHandler(m_dialog.get());
    }

    void cleanup()
    {
        m_dialog.reset();
        m_host.reset();
        QLocale::setDefault(QLocale::c());
        VexaTextLookup::install(nullptr);
    }

    void showsValueAndUnit()
    {
        QLocale::setDefault(QLocale(QLocale::German));
        testhost::setDataset(manager(), QStringLiteral("scaleInHiLim"), QStringLiteral("12.5"));
        auto *range = place<VexaLabelTextUnit>("objectnametext", QStringLiteral("scaleInHiLim"));
        range->setObjectNameUnit(QStringLiteral("primaryValueUnit"));
        bind();

        QCOMPARE(range->edit()->text(), QStringLiteral("12,5"));
        QCOMPARE(range->unitText(), QStringLiteral("mbar"));

        // Both follow the host: a new unit, a new value.
        testhost::setDataset(manager(), QStringLiteral("primaryValueUnit"), QStringLiteral("7"));
        testhost::setDataset(manager(), QStringLiteral("scaleInHiLim"), QStringLiteral("2"));
        QCOMPARE(range->unitPart()->text(), QStringLiteral("bar"));
        QCOMPARE(range->edit()->text(), QStringLiteral("2"));
    }

    void edits_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written"); // empty: refused, nothing written

        const QLocale en(QLocale::English);
        const QLocale de(QLocale::German);
        QTest::newRow("range value") << "scaleInHiLim" << en << "250.5"
                                     << "250.5";
        QTest::newRow("range value, German") << "scaleInHiLim" << de << "250,5"
                                             << "250.5";
        QTest::newRow("damping above its limit") << "filterTime" << en << "150"
                                                 << "";
        QTest::newRow("tag") << "_tagHART" << en << "pt-100"
                             << "PT-100  ";
        QTest::newRow("tag too long") << "_tagHART" << en << "PT-1000000"
                                      << "";
        QTest::newRow("tag with signs the device cannot hold") << "_tagHART" << en << "pt{1}"
                                                               << "";
        QTest::newRow("free unit text too long") << "freeUnitText" << en << "kg/cm2/min"
                                                 << "";
        QTest::newRow("date") << "deviceInstallDate" << de << "01.03.2025"
                              << "2025-03-01";
        QTest::newRow("date that does not exist") << "deviceInstallDate" << de << "30.02.2025"
                                                  << "";
        QTest::newRow("count with a fraction") << "numberRemoteSeal" << en << "1.5"
                                               << "";
    }

    void edits()
    {
        QFETCH(QString, item);
        QFETCH(QLocale, locale);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QLocale::setDefault(locale);
        auto *text = place<VexaLabelTextUnit>("objectnametext", item);
        text->setCaptionLabel(QStringLiteral("Value"));
        bind();
        const QString before = datasetText(manager(), item);

        ScriptedMessageBox box;
        text->edit()->clear();
        QTest::keyClicks(text->edit(), typed);
        QTest::keyClick(text->edit(), Qt::Key_Return);

        if (written.isEmpty()) {
            QCOMPARE(datasetText(manager(), item), before);
            QCOMPARE(box.asked().size(), 1);
            QCOMPARE(box.asked()[0].icon, QMessageBox::Warning);
            QVERIFY(box.asked()[0].text.startsWith(QStringLiteral("Value: ")));
            // The field shows the host's value again, not the refused entry.
            QCOMPARE(text->edit()->text(), text->fieldBinding().displayText());
        } else {
            QCOMPARE(datasetText(manager(), item), written);
            QVERIFY(box.asked().isEmpty());
        }
    }

    void entryIsWrittenOnceAndOnlyWhenConfirmed()
    {
        auto *text = place<VexaLabelTextUnit>("objectnametext", QStringLiteral("filterTime"));
        bind();
        int reports = 0;
        connect(&text->fieldBinding(), &VexaItemBinding::changed, this, [&] { ++reports; });

        text->edit()->clear();
        QTest::keyClicks(text->edit(), QStringLiteral("2.5"));
        QCOMPARE(datasetText(manager(), QStringLiteral("filterTime")), QStringLiteral("0"));
        // A report from the host meanwhile leaves the typing alone.
        testhost::setShadow(manager(), QStringLiteral("filterTime"), QStringLiteral("7"));
        QCOMPARE(text->edit()->text(), QStringLiteral("2.5"));

        QTest::keyClick(text->edit(), Qt::Key_Return);
        QTest::keyClick(text->edit(), Qt::Key_Return);
        QCOMPARE(datasetText(manager(), QStringLiteral("filterTime")), QStringLiteral("2.5"));
        QCOMPARE(reports, 1);
    }

    // Leaving the field confirms; another window taking the focus does not.
    void focusLeavingTheField_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<QString>("written");
        QTest::newRow("tab to the next field") << int(Qt::TabFocusReason) << "4.5";
        QTest::newRow("mouse elsewhere") << int(Qt::MouseFocusReason) << "4.5";
        QTest::newRow("another window") << int(Qt::ActiveWindowFocusReason) << "0";
        QTest::newRow("a menu") << int(Qt::PopupFocusReason) << "0";
    }

    void focusLeavingTheField()
    {
        QFETCH(int, reason);
        QFETCH(QString, written);
        auto *text = place<VexaLabelTextUnit>("objectnametext", QStringLiteral("filterTime"));
        bind();
        text->edit()->clear();
        QTest::keyClicks(text->edit(), QStringLiteral("4.5"));
        QFocusEvent out(QEvent::FocusOut, Qt::FocusReason(reason));
        QCoreApplication::sendEvent(text->edit(), &out);
        QCOMPARE(datasetText(manager(), QStringLiteral("filterTime")), written);
    }

    void modifiedMarkerFollowsTheItemState()
    {
        auto *text = place<VexaLabelTextUnit>("objectnametext", QStringLiteral("filterTime"));
        auto *combo =
            place<VexaLabelComboUnit>("objectnamecombo", QStringLiteral("primaryValueUnit"));
        bind();
        const QString marker = VexaControlTexts::text(VexaControlTexts::ModifiedTooltip);
        const QColor plain = text->edit()->palette().color(QPalette::Base);
        QVERIFY(text->edit()->toolTip().isEmpty());

        testhost::setDataset(manager(), QStringLiteral("filterTime"), QStringLiteral("3"));
        testhost::setDataset(manager(), QStringLiteral("primaryValueUnit"), QStringLiteral("7"));
        QCOMPARE(text->edit()->toolTip(), marker);
        QCOMPARE(combo->combo()->toolTip(), marker);
        QVERIFY(text->edit()->palette().color(QPalette::Base) != plain);
        // Disabled still reads as disabled, marked or not.
        QCOMPARE(text->edit()->palette().color(QPalette::Disabled, QPalette::Base),
                 QApplication::palette(text->edit()).color(QPalette::Disabled, QPalette::Base));

        // The dataset takes the device's value again: no longer edited.
        QVariant ignored;
        manager().fncAdjustItem(QStringLiteral("filterTime"), ignored);
        QVERIFY(text->edit()->toolTip().isEmpty());
        QCOMPARE(text->edit()->palette().color(QPalette::Base), plain);

        // A control bound later sees the edit already made.
        auto *late = place<VexaText>("objectnametext", QStringLiteral("primaryValueUnit"));
        late->registerItems(m_host->manager());
        QCOMPARE(late->edit()->toolTip(), marker);
    }

    void comboOffersTheEnumerationAndWritesTheChoice()
    {
        auto *combo =
            place<VexaLabelComboUnit>("objectnamecombo", QStringLiteral("primaryValueUnit"));
        bind();
        QCOMPARE(combo->combo()->count(), 17);
        QCOMPARE(combo->combo()->currentText(), QStringLiteral("mbar"));

        const int bar = combo->combo()->findText(QStringLiteral("bar"));
        combo->combo()->setCurrentIndex(bar);
        Q_EMIT combo->combo()->activated(bar);
        QCOMPARE(datasetText(manager(), QStringLiteral("primaryValueUnit")), QStringLiteral("7"));

        testhost::setDataset(manager(), QStringLiteral("primaryValueUnit"), QStringLiteral("6"));
        QCOMPARE(combo->combo()->currentText(), QStringLiteral("psi"));

        // Entries the host does not leave selectable are offered disabled.
        auto *language =
            place<VexaLabelComboUnit>("objectnamecombo", QStringLiteral("hmiLanguage"));
        testhost::setDataset(manager(), QStringLiteral("&&ObjectLimit&&hmiLanguage"),
                             QStringLiteral("1, 1, 0"));
        language->registerItems(m_host->manager());
        auto *model = qobject_cast<QStandardItemModel *>(language->combo()->model());
        QVERIFY(model->item(1)->isEnabled());
        QVERIFY(!model->item(2)->isEnabled());
        testhost::setDataset(manager(), QStringLiteral("&&ObjectLimit&&hmiLanguage"),
                             QStringLiteral("1, 1, 1"));
        QVERIFY(model->item(2)->isEnabled());
    }

    void labelShowsTheEnumerationTextAndTheCaptionFromTheTable()
    {
        auto *status = place<VexaLabel>("objectnamelabel", QStringLiteral("ptrbTabStatus"));
        status->setCaptionLabel(QStringLiteral("Status"));
        auto *damping = place<VexaText>("objectnametext", QStringLiteral("filterTime"));
        damping->setProperty("labeltextid", 2112);
        damping->setProperty("captionlabel", QStringLiteral("Dämpfung"));
        bind();
        QCOMPARE(status->valueText(), QStringLiteral("Not used"));
        QCOMPARE(damping->labelText(), QStringLiteral("Dämpfung"));

        // The program's lookup wins; an id it lacks keeps the design caption.
        VexaTextLookup::install(
            [](int id) { return id == 2112 ? QStringLiteral("Damping") : QString(); });
        QCOMPARE(damping->labelText(), QStringLiteral("Damping"));
        damping->setLabelTextId(1003);
        QCOMPARE(damping->labelText(), QStringLiteral("Dämpfung"));
    }

    // A sample dialog in both languages, one control disabled: every text fits
    // and nothing overlaps. ./dev grab shows it.
    void sampleDialog_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("en") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("de") << QLocale(QLocale::German, QLocale::Germany);
    }

    void sampleDialog()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        VexaTextLookup::install(FrameworkSampleDialog::programStrings());
        FrameworkSampleDialog dialog(m_host->manager());
        const QList<VexaFieldControl *> &controls = dialog.controls;
        VexaFieldControl *tag = dialog.tag;

        for (VexaFieldControl *control : controls) {
            const VexaRowGeometry row = control->rowGeometry();
            const QString what = control->labelText();
            QVERIFY2(row.label.width() >= control->captionPart()->sizeHint().width(),
                     qPrintable(what));
            QVERIFY2(row.label.right() < row.field.left(), qPrintable(what));
            QVERIFY2(control->unitPart()->isHidden() || row.field.right() < row.unit.left(),
                     qPrintable(what));
            QVERIFY2(control->unitPart()->isHidden() ||
                         row.unit.width() >= control->unitPart()->sizeHint().width(),
                     qPrintable(what));
            QVERIFY2(control->width() >= row.neededWidth, qPrintable(what));
            if (qobject_cast<QComboBox *>(control->fieldPart()))
                QVERIFY2(row.field.width() >= control->fieldPart()->sizeHint().width(),
                         qPrintable(what));
        }
        QVERIFY(!tag->fieldPart()->isEnabled());
        QCOMPARE(tag->labelText(), VexaTextLookup::text(2079, QString()));
    }
};

VEX_TEST(tst_FrameworkControls)
#include "tst_FrameworkControls.moc"
