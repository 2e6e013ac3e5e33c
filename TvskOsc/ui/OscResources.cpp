// Strings, layouts and toolbar pictures of the oscilloscope.
#include <TvskOsc/ui/OscIds.h>

#include <Tarveskon/PluginIntf.h>
#include <ZoSupport/ResourceString.h>

#include <ui/Dialog.h>
#include <ui/Resources.h>
#include <ui/SpinButtonCtrl.h>
#include <ui/ToolBar.h>

#include <QImage>
#include <QPainter>

#include <iterator>
#include <vector>

namespace
{
int g_moduleTag;

const RESOURCE_STRING kStrings[] = {
    {IDS_OSC_TITLE, "Oscilloscopio"},
    {ID_OSC_CLOSE, "Chiudi"},
    {ID_OSC_RUN, "Avvia o ferma l'acquisizione"},
    {ID_OSC_SHOW_CH2, "Mostra il canale 2"},
    {ID_OSC_SHOW_CH1, "Mostra il canale 1"},
    {IDS_OSC_CH1_UNIT, "rpm"},
    {IDS_OSC_CH2_UNIT, "A"},
    {ID_OSC_SAVE, "Salva l'acquisizione su file"},
    {ID_OSC_MEASURE, "Barre di misura"},
    {IDS_OSC_FILE_FILTER, "File di testo (*.txt)|*.txt||"},
    {ID_OSC_CONNECT, "Connessione"},
    {ID_OSC_PARAMETERS, "Parametri del drive"},
    {IDS_OSC_SEND, "Invio"},
    {IDS_OSC_PAR_TITLE, "Parametri"},
    {IDS_OSC_MIN_BAUD, "Velocità di comunicazione insufficiente: servono almeno %d baud"},
    {IDS_OSC_CH1_NAME, "Velocità"},
    {IDS_OSC_CH2_NAME, "Corrente"},
    {IDS_OSC_READ, "Lettura"},
    {ID_OSC_MODE_SPEED, "Modo velocità e corrente"},
    {ID_OSC_MODE_EXTENDED, "Modo esteso"},
    {ID_OSC_OPEN, "Apri un'acquisizione"},
    {ID_OSC_SHOW_CH3, "Mostra il canale 3"},
    {ID_OSC_SHOW_CH4, "Mostra il canale 4"},
    {IDS_OSC_STOP_FIRST, "Fermare l'acquisizione prima di chiudere"},
    {IDS_OSC_OPEN_FAILED, "Il file non contiene campioni leggibili"},
    {IDS_OSC_SAVE_FAILED, "Impossibile salvare il file"},
    {IDS_OSC_PAR_NAME_HEAD, "Parametro"},
    {IDS_OSC_PAR_VALUE_HEAD, "Valore"},
    {IDS_OSC_STOP_BEFORE_OPEN, "Fermare l'acquisizione prima di aprirne una da file"},
};

constexpr int kPanel = 392;
const DlgItem kScopeItems[] = {
    {DlgKind::Frame, IDC_OSC_GRAPH, 4, 34, 384, 262},
    {DlgKind::LText, IDC_OSC_CH1_LABEL, kPanel, 34, 120, 8, "CH1"},
    {DlgKind::EditText, IDC_OSC_CH1_DIV, kPanel, 44, 40, 12},
    {DlgKind::Control, IDC_OSC_CH1_SPIN, kPanel + 41, 44, 10, 12, "", 0, "msctls_updown32"},
    {DlgKind::EditText, IDC_OSC_CH1_OFFSET, kPanel + 56, 44, 40, 12},
    {DlgKind::LText, IDC_OSC_CH2_LABEL, kPanel, 60, 120, 8, "CH2"},
    {DlgKind::EditText, IDC_OSC_CH2_DIV, kPanel, 70, 40, 12},
    {DlgKind::Control, IDC_OSC_CH2_SPIN, kPanel + 41, 70, 10, 12, "", 0, "msctls_updown32"},
    {DlgKind::EditText, IDC_OSC_CH2_OFFSET, kPanel + 56, 70, 40, 12},
    {DlgKind::LText, 0xFFFF, kPanel, 86, 50, 8, "ms/div"},
    {DlgKind::EditText, IDC_OSC_HORZ_DIV, kPanel, 96, 40, 12},
    {DlgKind::Control, IDC_OSC_HORZ_SPIN, kPanel + 41, 96, 10, 12, "", 0, "msctls_updown32"},
    {DlgKind::GroupBox, 0xFFFF, kPanel, 112, 120, 112, "Trigger"},
    {DlgKind::RadioButton, IDC_OSC_MODE_AUTO, kPanel + 4, 122, 36, 10, "Auto", WS_GROUP},
    {DlgKind::RadioButton, IDC_OSC_MODE_NORMAL, kPanel + 42, 122, 36, 10, "Norm"},
    {DlgKind::RadioButton, IDC_OSC_MODE_SINGLE, kPanel + 80, 122, 36, 10, "Single"},
    {DlgKind::RadioButton, IDC_OSC_EDGE_POS, kPanel + 4, 134, 36, 10, "+", WS_GROUP},
    {DlgKind::RadioButton, IDC_OSC_EDGE_NEG, kPanel + 42, 134, 36, 10, "-"},
    {DlgKind::RadioButton, IDC_OSC_EDGE_BOTH, kPanel + 80, 134, 36, 10, "+/-"},
    {DlgKind::RadioButton, IDC_OSC_SRC_CH1, kPanel + 4, 146, 26, 10, "CH1", WS_GROUP},
    {DlgKind::RadioButton, IDC_OSC_SRC_CH2, kPanel + 32, 146, 26, 10, "CH2"},
    {DlgKind::RadioButton, IDC_OSC_SRC_DIN0, kPanel + 60, 146, 28, 10, "DIn0"},
    {DlgKind::RadioButton, IDC_OSC_SRC_DIN1, kPanel + 90, 146, 28, 10, "DIn1"},
    {DlgKind::LText, 0xFFFF, kPanel + 4, 160, 30, 8, "Livello"},
    {DlgKind::EditText, IDC_OSC_TRG_LEVEL, kPanel + 40, 158, 40, 12},
    {DlgKind::Control, IDC_OSC_TRG_LEVEL_SPIN, kPanel + 81, 158, 10, 12, "", 0, "msctls_updown32"},
    {DlgKind::LText, 0xFFFF, kPanel + 4, 176, 30, 8, "Pos. ms"},
    {DlgKind::EditText, IDC_OSC_TRG_POS, kPanel + 40, 174, 40, 12},
    {DlgKind::Control, IDC_OSC_TRG_POS_SPIN, kPanel + 81, 174, 10, 12, "", 0, "msctls_updown32"},
    {DlgKind::LText, 0xFFFF, kPanel + 4, 194, 52, 8, "Acquisizioni"},
    {DlgKind::LText, IDC_OSC_ACQUISITIONS, kPanel + 58, 194, 40, 8, "0"},
    {DlgKind::LText, 0xFFFF, kPanel, 230, 30, 8, "dT"},
    {DlgKind::LText, IDC_OSC_TIME_DIFF, kPanel + 32, 230, 80, 8, "..."},
    {DlgKind::LText, IDC_OSC_CH1_BAR1, kPanel, 242, 40, 8, "..."},
    {DlgKind::LText, IDC_OSC_CH1_BAR2, kPanel + 40, 242, 40, 8, "..."},
    {DlgKind::LText, IDC_OSC_CH1_HBAR, kPanel + 80, 242, 40, 8, "..."},
    {DlgKind::LText, IDC_OSC_CH2_BAR1, kPanel, 254, 40, 8, "..."},
    {DlgKind::LText, IDC_OSC_CH2_BAR2, kPanel + 40, 254, 40, 8, "..."},
    {DlgKind::LText, IDC_OSC_CH2_HBAR, kPanel + 80, 254, 40, 8, "..."},
    {DlgKind::LText, 0xFFFF, kPanel, 266, 30, 8, "RMS"},
    {DlgKind::LText, IDC_OSC_CH2_RMS, kPanel + 32, 266, 80, 8, "..."},
    {DlgKind::PushButton, IDCANCEL, kPanel + 60, 282, 50, 14, "Chiudi"},
};
const DialogTemplate kScope = {"Oscilloscopio", WS_POPUP | WS_CAPTION | WS_SYSMENU,      518, 300,
                               kScopeItems,     static_cast<int>(std::size(kScopeItems))};

std::vector<DlgItem> ParameterItems()
{
    std::vector<DlgItem> items = {{DlgKind::LText, IDC_OSC_PAR_NAME_HEAD, 6, 6, 50, 8, "Parametro"},
                                  {DlgKind::LText, IDC_OSC_PAR_VALUE_HEAD, 60, 6, 70, 8, "Valore"}};
    for (int row = 0; row < 8; ++row)
    {
        const int y = 18 + row * 16;
        items.push_back({DlgKind::EditText, static_cast<UINT>(IDC_OSC_PAR_NAME + row), 6, y, 50, 12});
        items.push_back({DlgKind::EditText, static_cast<UINT>(IDC_OSC_PAR_VALUE + row), 60, y, 70, 12});
        items.push_back(
            {DlgKind::PushButton, static_cast<UINT>(IDC_OSC_PAR_SEND + row), 134, y, 36, 12, "Invio"});
        items.push_back(
            {DlgKind::PushButton, static_cast<UINT>(IDC_OSC_PAR_READ + row), 172, y, 36, 12, "Lettura"});
    }
    return items;
}

const UINT kToolbarIds[] = {ID_OSC_CLOSE,    ID_SEPARATOR,      ID_OSC_RUN,           ID_OSC_CONNECT,
                            ID_SEPARATOR,    ID_OSC_SHOW_CH1,   ID_OSC_SHOW_CH2,      ID_OSC_SHOW_CH3,
                            ID_OSC_SHOW_CH4, ID_SEPARATOR,      ID_OSC_MEASURE,       ID_OSC_PARAMETERS,
                            ID_SEPARATOR,    ID_OSC_MODE_SPEED, ID_OSC_MODE_EXTENDED, ID_SEPARATOR,
                            ID_OSC_SAVE,     ID_OSC_OPEN};

// Pictures of the toolbar's buttons, 16 x 15 each, in button order: close, run, connect, the four
// channels (a wave in the trace's colour), measure bars, parameters, speed mode, extended mode,
// save, open.
QImage DrawImages()
{
    constexpr int kImages = 13;
    QImage strip(16 * kImages, 15, QImage::Format_RGB32);
    strip.fill(QColor(192, 192, 192));
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing, false);
    const auto at = [](int image) { return 16 * image; };
    p.setPen(QPen(QColor(192, 0, 0), 2)); // close: a red cross
    p.drawLine(at(0) + 4, 3, at(0) + 11, 11);
    p.drawLine(at(0) + 11, 3, at(0) + 4, 11);
    p.setPen(Qt::black); // run: a green play triangle
    p.setBrush(QColor(0, 160, 0));
    const QPoint play[] = {{at(1) + 4, 2}, {at(1) + 12, 7}, {at(1) + 4, 12}};
    p.drawPolygon(play, 3);
    p.setBrush(Qt::black); // connect: a plug and its socket
    p.drawRect(at(2) + 2, 5, 4, 5);
    p.drawLine(at(2) + 6, 6, at(2) + 8, 6);
    p.drawLine(at(2) + 6, 9, at(2) + 8, 9);
    p.setBrush(QColor(0, 0, 160));
    p.drawRect(at(2) + 10, 4, 4, 7);
    const QColor traces[] = {QColor(255, 255, 0), QColor(0, 255, 255), QColor(255, 0, 255),
                             QColor(0, 255, 0)};
    for (int channel = 0; channel < 4; ++channel) // a channel: its wave on a black screen
    {
        const int x = at(3 + channel);
        p.fillRect(x + 1, 2, 14, 11, Qt::black);
        p.setPen(traces[channel]);
        const QPoint wave[] = {{x + 2, 11}, {x + 5, 6}, {x + 8, 11}, {x + 11, 6}, {x + 14, 11}};
        p.drawPolyline(wave, 5);
        p.setPen(Qt::white); // and as many dots as its number
        for (int dot = 0; dot <= channel; ++dot)
            p.drawPoint(x + 2 + 2 * dot, 3);
    }
    p.setPen(QPen(QColor(0, 0, 160), 1, Qt::DashLine)); // measure bars: two dashed bars
    p.drawLine(at(7) + 4, 1, at(7) + 4, 13);
    p.drawLine(at(7) + 11, 1, at(7) + 11, 13);
    p.setPen(Qt::black);
    p.drawLine(at(7) + 5, 7, at(7) + 10, 7);
    p.setBrush(Qt::white); // parameters: a sheet of rows
    p.drawRect(at(8) + 3, 1, 9, 12);
    for (int row = 0; row < 4; ++row)
        p.drawLine(at(8) + 5, 3 + 3 * row, at(8) + 10, 3 + 3 * row);
    p.setBrush(Qt::NoBrush); // speed mode: a dial and its needle
    p.drawArc(at(9) + 2, 3, 12, 12, 0, 180 * 16);
    p.setPen(QPen(QColor(192, 0, 0), 2));
    p.drawLine(at(9) + 8, 9, at(9) + 12, 4);
    p.setPen(Qt::black); // extended mode: a counter's digits in a frame
    p.drawRect(at(10) + 1, 3, 13, 8);
    for (int digit = 0; digit < 3; ++digit)
        p.fillRect(at(10) + 3 + 4 * digit, 5, 2, 5, QColor(0, 128, 0));
    p.setBrush(QColor(0, 0, 128)); // save: a disk
    p.drawRect(at(11) + 2, 2, 11, 11);
    p.fillRect(at(11) + 5, 3, 6, 4, Qt::white);
    p.setBrush(QColor(224, 192, 64)); // open: a folder
    p.drawRect(at(12) + 1, 4, 13, 9);
    p.drawRect(at(12) + 1, 2, 5, 2);
    p.end();
    return strip;
}

struct Registration
{
    Registration()
    {
        RegisterResourceStrings(OscModule(), kStrings, static_cast<int>(std::size(kStrings)));
        AfxRegisterDialogTemplate(IDD_OSCILLOSCOPE, &kScope, OscModule());
        static const std::vector<DlgItem> parameterItems = ParameterItems();
        static const DialogTemplate parameters = {
            "Parametri",           WS_POPUP | WS_CAPTION | WS_SYSMENU,     214, 146,
            parameterItems.data(), static_cast<int>(parameterItems.size())};
        AfxRegisterDialogTemplate(IDD_OSC_PARAMETERS, &parameters, OscModule());
        AfxRegisterToolBar(IDR_OSC_TOOLBAR, 16, 15, kToolbarIds, static_cast<int>(std::size(kToolbarIds)),
                           DrawImages(), OscModule());
    }
};
} // namespace

HINSTANCE OscModule()
{
    return reinterpret_cast<HINSTANCE>(&g_moduleTag);
}

CString OscString(CPluginIntf* host, UINT id)
{
    static const Registration registration;
    CString text;
    if (host && host->GetString(id, text) && !text.IsEmpty())
        return text;
    return GetResourceString(id, OscModule());
}
