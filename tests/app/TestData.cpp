#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QAction>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <map>
#include <vector>

#include "AppTests.h"
#include "DataTreeModel.h"
#include "ScreenView.h"
#include "UiPrompts.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/screens/ScreenSet.h"
#include "rxt4/screens/Fonts.h"

namespace rxt4::test {

void PutFile(const QString& root, const QString& relative, const std::string& bytes) {
  QString path = root + QLatin1Char('/') + relative;
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string MeasurementLine(int number, const std::string& dataName, int screenType) {
  // Columns: no., name, band, channel, polarisation, frequency, level, C/N, modulation,
  // oscillator, correction, -, converter power, layer, band number, ..., screen type (20),
  // BER (21), MER (22), second row fields 23..29.
  std::string fields[30] = {std::to_string(number), dataName, "UHF", "13", "", "473.143", "65.2", "30.1", "64QAM",
                            "*", "0", "", "", "A", "13", "", "", "", "", "1", std::to_string(screenType), "2.0E-05", "28.5", "", "", "",
                            "", "", "", ""};
  std::string line;
  for (int i = 0; i < 30; ++i) line += (i ? "," : "") + fields[i];
  return line + "\n";
}

QString MakeDataFolder(const QTemporaryDir& dir) {
  const QString root = dir.path() + QStringLiteral("/RXT4");
  const std::string header = "No.,Name\n";
  PutFile(root, QStringLiteral("0412/LEVEL/0412.cnt"), "3\n2.00");
  PutFile(root, QStringLiteral("0412/LEVEL/0412.CSV"),
          header + MeasurementLine(1, "A1") + MeasurementLine(2, "A2") + MeasurementLine(3, "A3"));
  PutFile(root, QStringLiteral("0412/BER/0412.cnt"), "2\n2.00");
  PutFile(root, QStringLiteral("0412/BER/0412.CSV"), header + MeasurementLine(1, "B1") + MeasurementLine(2, "B2"));
  PutFile(root, QStringLiteral("0412/SKY/0412.cnt"), "1\n2.00");
  PutFile(root, QStringLiteral("0412/SKY/0412.CSV"), header + MeasurementLine(1, "S1", 4));
  return root;
}

namespace {

// A measurement line with some of MeasurementLine's fields replaced (by column).
std::string Row(int number, const std::string& name, const std::map<int, std::string>& fields) {
  std::string line = MeasurementLine(number, name);
  line.pop_back();  // the line break
  std::vector<std::string> columns;
  for (std::size_t from = 0;;) {
    const std::size_t comma = line.find(',', from);
    columns.push_back(line.substr(from, comma - from));
    if (comma == std::string::npos) break;
    from = comma + 1;
  }
  for (const auto& [column, text] : fields) columns[static_cast<std::size_t>(column)] = text;
  std::string out;
  for (std::size_t i = 0; i < columns.size(); ++i) out += (i ? "," : "") + columns[i];
  return out + "\n";
}

// Terrestrial digital (screen type 0 on a terrestrial band, number 30) at a level.
std::string Terrestrial(int number, const std::string& name, const std::string& level) {
  return Row(number, name, {{6, level}, {14, "30"}, {20, "0"}});
}

void PutKind(const QString& root, const QString& set, const QString& kind, const std::vector<std::string>& rows) {
  std::string table = "No.,Name\n";
  for (const std::string& r : rows) table += r;
  PutFile(root, set + QLatin1Char('/') + kind + QLatin1Char('/') + set + QStringLiteral(".cnt"),
          std::to_string(rows.size()) + "\n2.00");
  PutFile(root, set + QLatin1Char('/') + kind + QLatin1Char('/') + set + QStringLiteral(".CSV"), table);
}

}  // namespace

QString MakeJudgedFolder(const QTemporaryDir& dir) {
  const QString root = dir.path() + QStringLiteral("/RXT4");
  PutKind(root, QStringLiteral("0601"), QStringLiteral("LEVEL"),
          {Terrestrial(1, "P", "65.2"), Terrestrial(2, "C", "52.0"), Terrestrial(3, "F", "45.0"),
           Terrestrial(4, "N", "---.-")});
  PutKind(root, QStringLiteral("0601"), QStringLiteral("BER"),
          {Row(1, "B", {{7, "26.0"}, {14, "30"}, {20, "0"}, {21, "2.0E-05"}})});
  PutKind(root, QStringLiteral("0601"), QStringLiteral("SKY"), {Row(1, "S", {{6, "65.2"}, {20, "4"}, {24, "15"}, {26, "70.0"}})});
  PutKind(root, QStringLiteral("0602"), QStringLiteral("LEVEL"), {Terrestrial(1, "P2", "65.2")});
  PutKind(root, QStringLiteral("0602"), QStringLiteral("BER"), {Row(1, "U", {{20, "0"}})});
  return root;
}

QTreeView& Tree(QWidget& window) { return Find<QTreeView>(window, "tree"); }

QModelIndex TreeItem(QWidget& window, std::initializer_list<int> rows) {
  QModelIndex index;
  for (int r : rows) index = Tree(window).model()->index(r, 0, index);
  return index;
}

bool Activate(QWidget& window) {
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window)) return false;
  Tree(window).setFocus();
  return Tree(window).hasFocus();
}

QString LabelText(QWidget& window, const char* name) { return Find<QLabel>(window, name).text(); }

void Trigger(QWidget& window, const char* action) { Find<QAction>(window, action).trigger(); }

QImage ScreenArea(QWidget& window) {
  return Find<ScreenView>(window, "screenArea").grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int MeasurementCount(QWidget& window) {
  // Kind roots, set folders, measurements.
  const QAbstractItemModel& model = *Tree(window).model();
  int count = 0;
  for (int kind = 0; kind < model.rowCount(); ++kind)
    for (int set = 0; set < model.rowCount(model.index(kind, 0)); ++set)
      count += model.rowCount(model.index(set, 0, model.index(kind, 0)));
  return count;
}

namespace {

class ShowWatch : public QObject {
 public:
  ShowWatch(QWidget& widget, std::function<void()> action) : QObject(&widget), action_(std::move(action)) {
    widget.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, watched, std::move(action_));
      deleteLater();
    }
    return false;
  }

 private:
  std::function<void()> action_;
};

}  // namespace

void OnceShown(QWidget& widget, std::function<void()> action) { new ShowWatch(widget, std::move(action)); }

QImage DrawnApart(const QString& dataFolder, const QModelIndex& item, const std::vector<KeyPress>& presses) {
  DataFolderModel model;
  std::vector<LoadMessage> messages;
  model.Load(FsPath(dataFolder), messages, LoadOptions{});
  const CDataSet* record = model.Record(DataTreeModel::ItemNumber(item));
  if (record == nullptr) return QImage();
  ScreenSet screens(FontSet::CreatePattern());
  screens.Select(*record);
  Surface surface;
  screens.Paint(surface);
  for (const KeyPress& press : presses) screens.PressKey(press, surface);
  const RgbImageView view = surface.View();
  return QImage(view.pixels, view.width, view.height, static_cast<qsizetype>(view.stride), QImage::Format_RGB888)
      .convertToFormat(QImage::Format_RGB32);
}

ViewerServices TestServices(FakePrompts& prompts, SettingsFile& settings) {
  ViewerServices services;
  services.settings = &settings;
  services.prompts = &prompts;
  services.listPorts = [] { return std::vector<PortInfo>{{"/dev/ttyUSB0", "RXT4", 0x1234, 0x5678}}; };
  services.fonts = FontSet::CreatePattern();
  return services;
}

ViewerFixture::ViewerFixture() {
  settings = std::make_unique<SettingsFile>((dir.path() + QStringLiteral("/cfg/RXT4_Viewer.ini")).toStdString());
  window = std::make_unique<CMainWindow>(TestServices(prompts, *settings));
  window->Initialise();
  window->show();
}

ViewerFixture::~ViewerFixture() {
  // Closing without the confirmation: the tests end the window directly.
  window.reset();
}

}  // namespace rxt4::test
