#pragma once

#include <QCoreApplication>
#include <QString>

// The desktop program's user-visible texts, UTF-8, in one place: the Russian texts are the
// sources, and Qt's translation system gives them in the user's language (Tr), from
// res/translations/quelmar_<language>.ts compiled at build time. The numbers are the texts' places
// in the string table that the dialog and the peak table use.
//
// Only what the user reads goes through here; what a document stores (the default peak name, the
// tab names written to AIA files) stays the same in every language.
namespace Strings {

inline constexpr const char* kDialogCaption =
    QT_TRANSLATE_NOOP("Strings", "Генератор хроматограммы");
inline constexpr const char* kParametersGroup = QT_TRANSLATE_NOOP("Strings", "Параметры");
inline constexpr const char* kAnalysisTimeLabel =
    QT_TRANSLATE_NOOP("Strings", "Время анализа, мин");
// The label's abbreviation is the program's own, spelling included.
inline constexpr const char* kSampleRateLabel = QT_TRANSLATE_NOOP("Strings", "Частота дикср.");
inline constexpr const char* kNoiseLabel = QT_TRANSLATE_NOOP("Strings", "Шум, мВ");
inline constexpr const char* kDriftLabel = QT_TRANSLATE_NOOP("Strings", "Дрейф, мВ/мин");
inline constexpr const char* kTimeAxisCaption = QT_TRANSLATE_NOOP("Strings", "Время (мин)");
inline constexpr const char* kResponseAxisCaption = QT_TRANSLATE_NOOP("Strings", "Отклик (мВ)");
inline constexpr const char* kChannelTab =
    QT_TRANSLATE_NOOP("Strings", "Канал %1");  // %1: the channel's number from 1
inline constexpr const char* kEnterNumber = QT_TRANSLATE_NOOP("Strings", "Введите число.");

// Tool-tips of the buttons (111 to 116).
inline constexpr const char* kTipMarkPeaks = QT_TRANSLATE_NOOP("Strings", "Разметить пики");
inline constexpr const char* kTipDeletePeak = QT_TRANSLATE_NOOP("Strings", "Удалить пик");
inline constexpr const char* kTipDeleteAllPeaks = QT_TRANSLATE_NOOP("Strings", "Удалить все пики");
inline constexpr const char* kTipAddChannel = QT_TRANSLATE_NOOP("Strings", "Добавить канал");
inline constexpr const char* kTipDeleteChannel = QT_TRANSLATE_NOOP("Strings", "Удалить канал");
inline constexpr const char* kTipSave = QT_TRANSLATE_NOOP("Strings", "Сохранить");

// Captions of the peak table's columns (102 to 110).
inline constexpr const char* kColumnName = QT_TRANSLATE_NOOP("Strings", "Название");
inline constexpr const char* kColumnTime = QT_TRANSLATE_NOOP("Strings", "Время выхода");
inline constexpr const char* kColumnFront = QT_TRANSLATE_NOOP("Strings", "Время начала");
inline constexpr const char* kColumnBack = QT_TRANSLATE_NOOP("Strings", "Время конца");
inline constexpr const char* kColumnHeight = QT_TRANSLATE_NOOP("Strings", "Высота");
inline constexpr const char* kColumnWidth = QT_TRANSLATE_NOOP("Strings", "Ширина");
inline constexpr const char* kColumnArea = QT_TRANSLATE_NOOP("Strings", "Площадь");
inline constexpr const char* kColumnTailing = QT_TRANSLATE_NOOP("Strings", "Асимметрия");

}  // namespace Strings

namespace Strings {

// Save messages. %1: the file's path; %2: the reason.
inline constexpr const char* kSaveFailedTitle = QT_TRANSLATE_NOOP("Strings", "Сохранение");
inline constexpr const char* kSaveFailed =
    QT_TRANSLATE_NOOP("Strings", "Не удалось сохранить хроматограмму в файл\n%1\n\n%2");
// %1: how many peaks; %2: the channels' numbers from 1.
inline constexpr const char* kPeaksLeftOut = QT_TRANSLATE_NOOP(
    "Strings",
    "Пиков не вошло в сохранённую таблицу: %1 (каналы: %2): их время выхода лежит вне "
    "анализа, или их граница лежит на конце анализа или за ним.");
// %1: the file's path.
inline constexpr const char* kSaved = QT_TRANSLATE_NOOP("Strings", "Сохранено: %1");
// The caption: %1 the file's name, %2 the unsaved-changes mark, %3 the program's title.
inline constexpr const char* kCaption = QT_TRANSLATE_NOOP("Strings", "%1%2 — %3");
inline constexpr const char* kUntitled = QT_TRANSLATE_NOOP("Strings", "Без имени");
inline constexpr const char* kSaveChangesQuestion =
    QT_TRANSLATE_NOOP("Strings", "Сохранить изменения?");
inline constexpr const char* kSaving = QT_TRANSLATE_NOOP("Strings", "Сохранение хроматограммы…");
inline constexpr const char* kSaveFilter =
    QT_TRANSLATE_NOOP("Strings", "XSTG Files (*.xstg);;All Files (*.*)");

// Why a save failed, one text per result of the document's save.
inline constexpr const char* kSaveOpenFailed = QT_TRANSLATE_NOOP(
    "Strings",
    "Файл нельзя создать или поставить на место прежнего: папки нет или в неё нельзя писать.");
inline constexpr const char* kSaveHeaderNotWritten =
    QT_TRANSLATE_NOOP("Strings", "Не удалось записать заголовок файла.");
inline constexpr const char* kSaveBadSpectrumLength =
    QT_TRANSLATE_NOOP("Strings", "Спектры имеют недопустимое число точек.");
inline constexpr const char* kSaveBlockNotWritten =
    QT_TRANSLATE_NOOP("Strings", "Не удалось записать заголовок блока данных.");
inline constexpr const char* kSaveDataNotWritten =
    QT_TRANSLATE_NOOP("Strings", "Не удалось записать данные: возможно, диск заполнен.");
inline constexpr const char* kSaveXmlNotWritten = QT_TRANSLATE_NOOP(
    "Strings",
    "Не удалось записать текстовую часть документа, или в ней есть текст, который XML не "
    "может хранить.");
inline constexpr const char* kSaveNotRegularFile = QT_TRANSLATE_NOOP(
    "Strings", "Это не обычный файл (папка, канал или устройство): он не заменяется.");
inline constexpr const char* kSaveSpectraPathIsDocument = QT_TRANSLATE_NOOP(
    "Strings", "Файл спектров документа совпал бы с самим документом: выберите расширение .xstg.");
inline constexpr const char* kSaveTooLarge =
    QT_TRANSLATE_NOOP("Strings", "Документ больше, чем допускает формат.");
inline constexpr const char* kSaveNonFiniteValue = QT_TRANSLATE_NOOP(
    "Strings",
    "В документе есть бесконечные или неопределённые значения: такой документ не сохраняется.");
inline constexpr const char* kSaveUnknown =
    QT_TRANSLATE_NOOP("Strings", "Неизвестная ошибка (код %1).");
// %1: the system's own words for the failing call.
inline constexpr const char* kSystemReason = QT_TRANSLATE_NOOP("Strings", "Система сообщает: %1");

}  // namespace Strings

namespace Strings {

// Why a change was refused, one text per reason of the generator model. %1: the limit.
inline constexpr const char* kRefusedNotFinite =
    QT_TRANSLATE_NOOP("Strings", "Нужно конечное число.");
inline constexpr const char* kRefusedTimeNotPositive =
    QT_TRANSLATE_NOOP("Strings", "Время анализа должно быть больше 0 мин.");
inline constexpr const char* kRefusedRateBelowOne =
    QT_TRANSLATE_NOOP("Strings", "Частота дискретизации — не меньше 1 отсчёта в минуту.");
inline constexpr const char* kRefusedChannelTooLong =
    QT_TRANSLATE_NOOP("Strings", "Канал вышел бы длиннее %1 отсчётов.");
inline constexpr const char* kRefusedDocumentTooLong =
    QT_TRANSLATE_NOOP("Strings", "Все каналы вместе вышли бы длиннее %1 отсчётов.");
inline constexpr const char* kRefusedTooManyChannels =
    QT_TRANSLATE_NOOP("Strings", "В документе не больше %1 каналов.");
inline constexpr const char* kRefusedLastChannel =
    QT_TRANSLATE_NOOP("Strings", "Последний канал удалить нельзя.");
inline constexpr const char* kRefusedNoiseNegative =
    QT_TRANSLATE_NOOP("Strings", "Шум не может быть отрицательным.");
inline constexpr const char* kRefusedNoiseTooLarge =
    QT_TRANSLATE_NOOP("Strings", "Шум больше %1 мВ вывел бы отсчёты за пределы их точности.");
inline constexpr const char* kRefusedDriftTooLarge = QT_TRANSLATE_NOOP(
    "Strings", "Дрейф по модулю больше %1 мВ/мин вывел бы отсчёты за пределы их точности.");
inline constexpr const char* kRefusedHeightTooLarge =
    QT_TRANSLATE_NOOP("Strings", "Высота по модулю — не больше %1 мВ.");
inline constexpr const char* kRefusedWidthNotPositive =
    QT_TRANSLATE_NOOP("Strings", "Ширина должна быть больше 0.");
inline constexpr const char* kRefusedTailingOutOfRange =
    QT_TRANSLATE_NOOP("Strings", "Асимметрия — от 0,5 до 4.");
inline constexpr const char* kRefusedFrontNotBeforeBack =
    QT_TRANSLATE_NOOP("Strings", "Начало пика должно быть раньше его конца.");
inline constexpr const char* kRefusedBoundsExcludeTime =
    QT_TRANSLATE_NOOP("Strings", "Время выхода должно лежать между началом и концом пика.");
inline constexpr const char* kRefusedBoundsOutsideRun =
    QT_TRANSLATE_NOOP("Strings", "Границы пика должны лежать внутри анализа, не дальше %1 мин.");
inline constexpr const char* kRefusedAreaNotPositive =
    QT_TRANSLATE_NOOP("Strings", "Площадь должна быть больше 0.");
inline constexpr const char* kRefusedAreaUnreachable = QT_TRANSLATE_NOOP(
    "Strings", "Такой площади не даёт ни одна ширина в пределах анализа: наибольшая — %1.");
inline constexpr const char* kRefusedAreaTooSmall = QT_TRANSLATE_NOOP(
    "Strings", "Даже самый узкий пик такой высоты даёт площадь больше: наименьшая — %1.");
inline constexpr const char* kRefusedAreaNeedsHeight =
    QT_TRANSLATE_NOOP("Strings", "У пика нулевой высоты нет площади.");
// %1: the channel's number from 1.
inline constexpr const char* kRefusedSignalNotFinite =
    QT_TRANSLATE_NOOP("Strings", "Сигнал канала %1 вышел бы за пределы точности отсчётов.");
inline constexpr const char* kRefusedNameNotStorable =
    QT_TRANSLATE_NOOP("Strings", "В названии есть символ, который документ не может хранить.");
inline constexpr const char* kRefusedComponents = QT_TRANSLATE_NOOP(
    "Strings", "Такие составляющие базовой линии и шума нельзя синтезировать на этом канале.");
inline constexpr const char* kRefusedNoSuchChannel =
    QT_TRANSLATE_NOOP("Strings", "Такого канала нет.");
inline constexpr const char* kRefusedNoSuchPeak = QT_TRANSLATE_NOOP("Strings", "Такого пика нет.");
inline constexpr const char* kRefusedNothingToUndo =
    QT_TRANSLATE_NOOP("Strings", "Отменять нечего.");
inline constexpr const char* kRefusedNothingToRedo =
    QT_TRANSLATE_NOOP("Strings", "Повторять нечего.");

// %1: a refusal above; %2: the value that stays in effect.
inline constexpr const char* kNotInEffect = QT_TRANSLATE_NOOP("Strings", "%1\nДействует: %2");

}  // namespace Strings

namespace Strings {

// Opening. %1: the file's path; %2: the reason.
inline constexpr const char* kOpenFailedTitle = QT_TRANSLATE_NOOP("Strings", "Открытие");
inline constexpr const char* kOpenFailed =
    QT_TRANSLATE_NOOP("Strings", "Не удалось открыть файл\n%1\n\n%2");
inline constexpr const char* kOpenFilter =
    QT_TRANSLATE_NOOP("Strings", "Хроматограммы (*.xstg);;Сценарии (*.json);;Все файлы (*)");
inline constexpr const char* kLoadOpenFailed =
    QT_TRANSLATE_NOOP("Strings", "Файла нет, или его нельзя прочитать.");
inline constexpr const char* kLoadShortHeader =
    QT_TRANSLATE_NOOP("Strings", "Файл короче заголовка документа.");
inline constexpr const char* kLoadBadMagic =
    QT_TRANSLATE_NOOP("Strings", "Это не документ хроматограммы.");
inline constexpr const char* kLoadUnknownVersion =
    QT_TRANSLATE_NOOP("Strings", "Документ неизвестной версии.");
inline constexpr const char* kLoadShortBlockHeader =
    QT_TRANSLATE_NOOP("Strings", "Файл обрывается в заголовке блока данных.");
inline constexpr const char* kLoadBadSamples =
    QT_TRANSLATE_NOOP("Strings", "Блок данных заявляет больше отсчётов, чем есть в файле.");
inline constexpr const char* kLoadXmlNotParsed =
    QT_TRANSLATE_NOOP("Strings", "Текстовая часть документа не читается.");
inline constexpr const char* kLoadTooLarge =
    QT_TRANSLATE_NOOP("Strings", "Файл больше любого документа этого формата.");
inline constexpr const char* kLoadSpectraDamaged =
    QT_TRANSLATE_NOOP("Strings", "Файл спектров рядом с документом повреждён.");
inline constexpr const char* kLoadUnknown =
    QT_TRANSLATE_NOOP("Strings", "Неизвестная ошибка (код %1).");
// %1: the parser's own words and where it stopped.
inline constexpr const char* kLoadDetail = QT_TRANSLATE_NOOP("Strings", "Подробно: %1");
// A document another program made, without the generator's settings.
inline constexpr const char* kOpenedWithoutSettings = QT_TRANSLATE_NOOP(
    "Strings",
    "В документе нет параметров генератора: шум и дрейф каналов приняты равными 0, ширины пиков "
    "оценены по их площади и высоте, границы пиков оставлены как в файле.");
inline constexpr const char* kOpened = QT_TRANSLATE_NOOP("Strings", "Открыт файл %1");
// %1: what is wrong with the document's settings entry.
inline constexpr const char* kSettingsUnreadable =
    QT_TRANSLATE_NOOP("Strings", "Параметры генератора в документе не прочитаны: %1.");
// %1: where the scenario is wrong and how.
inline constexpr const char* kScenarioUnusable =
    QT_TRANSLATE_NOOP("Strings", "Сценарий не подходит: %1.");

}  // namespace Strings

namespace Strings {

// A text of this table in the user's language.
inline QString Tr(const char* source) {
    return QCoreApplication::translate("Strings", source);
}

}  // namespace Strings

namespace Strings {

// Pictures and exports. %1, %2: the least and the most pixels a side may have.
inline constexpr const char* kPictureWrongType =
    QT_TRANSLATE_NOOP("Strings", "Рисунок сохраняется в файл .png или .svg.");
inline constexpr const char* kPictureWrongSize =
    QT_TRANSLATE_NOOP("Strings", "Стороны рисунка — от %1 до %2 пикселей.");
inline constexpr const char* kPictureFilter =
    QT_TRANSLATE_NOOP("Strings", "Рисунок PNG (*.png);;Рисунок SVG (*.svg)");
inline constexpr const char* kCsvFilter = QT_TRANSLATE_NOOP("Strings", "Таблица CSV (*.csv)");
inline constexpr const char* kAiaFilter = QT_TRANSLATE_NOOP("Strings", "Файл AIA (*.cdf)");
inline constexpr const char* kExported = QT_TRANSLATE_NOOP("Strings", "Записано: %1");
// %1: the file the work belongs to.
inline constexpr const char* kExportOverDocument =
    QT_TRANSLATE_NOOP("Strings", "экспорт записал бы поверх документа %1");
inline constexpr const char* kExportFailed =
    QT_TRANSLATE_NOOP("Strings", "Не удалось записать %1: %2");
inline constexpr const char* kCopied =
    QT_TRANSLATE_NOOP("Strings", "Рисунок графика скопирован в буфер обмена.");
inline constexpr const char* kPictureTitle = QT_TRANSLATE_NOOP("Strings", "Рисунок графика");
inline constexpr const char* kPictureWidth = QT_TRANSLATE_NOOP("Strings", "Ширина, пикс.");
inline constexpr const char* kPictureHeight = QT_TRANSLATE_NOOP("Strings", "Высота, пикс.");
inline constexpr const char* kPictureMarks = QT_TRANSLATE_NOOP("Strings", "С метками пиков");

// The menus.
inline constexpr const char* kMenuFile = QT_TRANSLATE_NOOP("Strings", "&Файл");
inline constexpr const char* kMenuEdit = QT_TRANSLATE_NOOP("Strings", "&Правка");
inline constexpr const char* kMenuNew = QT_TRANSLATE_NOOP("Strings", "Новая хроматограмма");
inline constexpr const char* kMenuOpen = QT_TRANSLATE_NOOP("Strings", "Открыть…");
inline constexpr const char* kMenuSave = QT_TRANSLATE_NOOP("Strings", "Сохранить");
inline constexpr const char* kMenuSaveAs = QT_TRANSLATE_NOOP("Strings", "Сохранить как…");
inline constexpr const char* kMenuExportCsv = QT_TRANSLATE_NOOP("Strings", "Экспорт в CSV…");
inline constexpr const char* kMenuExportAia = QT_TRANSLATE_NOOP("Strings", "Экспорт в AIA…");
inline constexpr const char* kMenuPicture = QT_TRANSLATE_NOOP("Strings", "Сохранить рисунок…");
inline constexpr const char* kMenuCopyPicture = QT_TRANSLATE_NOOP("Strings", "Копировать рисунок");
inline constexpr const char* kMenuQuit = QT_TRANSLATE_NOOP("Strings", "Выход");
inline constexpr const char* kMenuUndo = QT_TRANSLATE_NOOP("Strings", "Отменить");
inline constexpr const char* kMenuRedo = QT_TRANSLATE_NOOP("Strings", "Повторить");

}  // namespace Strings

namespace Strings {

// The channel's baseline and noise components. %1 in the title: the channel's tab name; in
// kComponentsNotNumber: the field's label; in kComponentsFault: the refusal, then the scenario key
// of the value at fault.
inline constexpr const char* kComponentsButton =
    QT_TRANSLATE_NOOP("Strings", "Базовая линия и шум…");
inline constexpr const char* kComponentsTitle =
    QT_TRANSLATE_NOOP("Strings", "Базовая линия и шум: %1");
inline constexpr const char* kComponentsSteps =
    QT_TRANSLATE_NOOP("Strings", "Ступени базовой линии");
inline constexpr const char* kComponentsTime = QT_TRANSLATE_NOOP("Strings", "Время, мин");
inline constexpr const char* kComponentsHeight = QT_TRANSLATE_NOOP("Strings", "Высота, мВ");
inline constexpr const char* kComponentsWidth = QT_TRANSLATE_NOOP("Strings", "Ширина, мин");
inline constexpr const char* kComponentsAddStep = QT_TRANSLATE_NOOP("Strings", "Добавить ступень");
inline constexpr const char* kComponentsRemoveStep =
    QT_TRANSLATE_NOOP("Strings", "Удалить ступень");
inline constexpr const char* kComponentsSine =
    QT_TRANSLATE_NOOP("Strings", "Синусоида (пульсации насоса)");
inline constexpr const char* kComponentsAmplitude = QT_TRANSLATE_NOOP("Strings", "Амплитуда, мВ");
inline constexpr const char* kComponentsPeriod = QT_TRANSLATE_NOOP("Strings", "Период, мин");
inline constexpr const char* kComponentsPhase = QT_TRANSLATE_NOOP("Strings", "Фаза, рад");
inline constexpr const char* kComponentsSettle =
    QT_TRANSLATE_NOOP("Strings", "Установление (прогрев детектора)");
inline constexpr const char* kComponentsTimeConstant =
    QT_TRANSLATE_NOOP("Strings", "Постоянная времени, мин");
inline constexpr const char* kComponentsWander = QT_TRANSLATE_NOOP("Strings", "Блуждание, мВ/√мин");
inline constexpr const char* kComponentsPink = QT_TRANSLATE_NOOP("Strings", "Розовый шум, мВ");
inline constexpr const char* kComponentsSpikes = QT_TRANSLATE_NOOP("Strings", "Выбросы");
inline constexpr const char* kComponentsRate = QT_TRANSLATE_NOOP("Strings", "Частота, 1/мин");
inline constexpr const char* kComponentsMinHeight = QT_TRANSLATE_NOOP("Strings", "Высота от, мВ");
inline constexpr const char* kComponentsMaxHeight = QT_TRANSLATE_NOOP("Strings", "Высота до, мВ");
inline constexpr const char* kComponentsNotNumber =
    QT_TRANSLATE_NOOP("Strings", "«%1»: введите число.");
inline constexpr const char* kComponentsFault = QT_TRANSLATE_NOOP("Strings", "%1 (%2)");

}  // namespace Strings
