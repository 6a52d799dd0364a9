#pragma once

// The program's user-visible texts, UTF-8, in one place. The numbers are the texts' places in
// the string table that the dialog and the peak table use.
namespace Strings {

inline constexpr const char* kDialogCaption = "Генератор хроматограммы";
inline constexpr const char* kParametersGroup = "Параметры";
inline constexpr const char* kAnalysisTimeLabel = "Время анализа, мин";
// The label's abbreviation is the program's own, spelling included.
inline constexpr const char* kSampleRateLabel = "Частота дикср.";
inline constexpr const char* kNoiseLabel = "Шум, мВ";
inline constexpr const char* kDriftLabel = "Дрейф, мВ/мин";
inline constexpr const char* kTimeAxisCaption = "Время (мин)";
inline constexpr const char* kResponseAxisCaption = "Отклик (мВ)";
inline constexpr const char* kChannelTab = "Канал %1";  // %1: the channel's number from 1
inline constexpr const char* kEnterNumber = "Введите число.";

// Tool-tips of the buttons (111 to 116).
inline constexpr const char* kTipMarkPeaks = "Разметить пики";
inline constexpr const char* kTipDeletePeak = "Удалить пик";
inline constexpr const char* kTipDeleteAllPeaks = "Удалить все пики";
inline constexpr const char* kTipAddChannel = "Добавить канал";
inline constexpr const char* kTipDeleteChannel = "Удалить канал";
inline constexpr const char* kTipSave = "Сохранить";

// Captions of the peak table's columns (102 to 110).
inline constexpr const char* kColumnName = "Название";
inline constexpr const char* kColumnTime = "Время выхода";
inline constexpr const char* kColumnFront = "Время начала";
inline constexpr const char* kColumnBack = "Время конца";
inline constexpr const char* kColumnHeight = "Высота";
inline constexpr const char* kColumnWidth = "Ширина";
inline constexpr const char* kColumnArea = "Площадь";

}  // namespace Strings

namespace Strings {

// Save messages. %1: the file's path; %2: the reason.
inline constexpr const char* kSaveFailedTitle = "Сохранение";
inline constexpr const char* kSaveFailed = "Не удалось сохранить хроматограмму в файл\n%1\n\n%2";
// %1: how many peaks; %2: the channels' numbers from 1.
inline constexpr const char* kPeaksLeftOut =
    "Пиков не вошло в сохранённую таблицу: %1 (каналы: %2): их время выхода лежит вне "
    "анализа, или их граница лежит на конце анализа или за ним.";
// %1: the file's path.
inline constexpr const char* kSaved = "Сохранено: %1";
// The caption: %1 the file's name, %2 the unsaved-changes mark, %3 the program's title.
inline constexpr const char* kCaption = "%1%2 — %3";
inline constexpr const char* kUntitled = "Без имени";
inline constexpr const char* kSaveChangesQuestion = "Сохранить изменения?";
inline constexpr const char* kSaving = "Сохранение хроматограммы…";
inline constexpr const char* kSaveFilter = "XSTG Files (*.xstg);;All Files (*.*)";

// Why a save failed, one text per result of the document's save.
inline constexpr const char* kSaveOpenFailed =
    "Файл нельзя создать или поставить на место прежнего: папки нет или в неё нельзя писать.";
inline constexpr const char* kSaveHeaderNotWritten = "Не удалось записать заголовок файла.";
inline constexpr const char* kSaveBadSpectrumLength = "Спектры имеют недопустимое число точек.";
inline constexpr const char* kSaveBlockNotWritten = "Не удалось записать заголовок блока данных.";
inline constexpr const char* kSaveDataNotWritten =
    "Не удалось записать данные: возможно, диск заполнен.";
inline constexpr const char* kSaveXmlNotWritten =
    "Не удалось записать текстовую часть документа, или в ней есть текст, который XML не "
    "может хранить.";
inline constexpr const char* kSaveNotRegularFile =
    "Это не обычный файл (папка, канал или устройство): он не заменяется.";
inline constexpr const char* kSaveSpectraPathIsDocument =
    "Файл спектров документа совпал бы с самим документом: выберите расширение .xstg.";
inline constexpr const char* kSaveTooLarge = "Документ больше, чем допускает формат.";
inline constexpr const char* kSaveNonFiniteValue =
    "В документе есть бесконечные или неопределённые значения: такой документ не сохраняется.";
inline constexpr const char* kSaveUnknown = "Неизвестная ошибка (код %1).";
// %1: the system's own words for the failing call.
inline constexpr const char* kSystemReason = "Система сообщает: %1";

}  // namespace Strings

namespace Strings {

// Why a change was refused, one text per reason of the generator model. %1: the limit.
inline constexpr const char* kRefusedNotFinite = "Нужно конечное число.";
inline constexpr const char* kRefusedTimeNotPositive = "Время анализа должно быть больше 0 мин.";
inline constexpr const char* kRefusedRateBelowOne =
    "Частота дискретизации — не меньше 1 отсчёта в минуту.";
inline constexpr const char* kRefusedChannelTooLong = "Канал вышел бы длиннее %1 отсчётов.";
inline constexpr const char* kRefusedDocumentTooLong =
    "Все каналы вместе вышли бы длиннее %1 отсчётов.";
inline constexpr const char* kRefusedTooManyChannels = "В документе не больше %1 каналов.";
inline constexpr const char* kRefusedLastChannel = "Последний канал удалить нельзя.";
inline constexpr const char* kRefusedNoiseNegative = "Шум не может быть отрицательным.";
inline constexpr const char* kRefusedNoiseTooLarge =
    "Шум больше %1 мВ вывел бы отсчёты за пределы их точности.";
inline constexpr const char* kRefusedDriftTooLarge =
    "Дрейф по модулю больше %1 мВ/мин вывел бы отсчёты за пределы их точности.";
inline constexpr const char* kRefusedHeightTooLarge = "Высота по модулю — не больше %1 мВ.";
inline constexpr const char* kRefusedWidthNotPositive = "Ширина должна быть больше 0.";
inline constexpr const char* kRefusedTailingOutOfRange = "Асимметрия — от 0,5 до 4.";
inline constexpr const char* kRefusedFrontNotBeforeBack =
    "Начало пика должно быть раньше его конца.";
inline constexpr const char* kRefusedBoundsExcludeTime =
    "Время выхода должно лежать между началом и концом пика.";
inline constexpr const char* kRefusedBoundsOutsideRun =
    "Границы пика должны лежать внутри анализа, не дальше %1 мин.";
inline constexpr const char* kRefusedAreaNotPositive = "Площадь должна быть больше 0.";
inline constexpr const char* kRefusedAreaUnreachable =
    "Такой площади не даёт ни одна ширина в пределах анализа: наибольшая — %1.";
inline constexpr const char* kRefusedAreaNeedsHeight = "У пика нулевой высоты нет площади.";
// %1: the channel's number from 1.
inline constexpr const char* kRefusedSignalNotFinite =
    "Сигнал канала %1 вышел бы за пределы точности отсчётов.";
inline constexpr const char* kRefusedNameNotStorable =
    "В названии есть символ, который документ не может хранить.";
inline constexpr const char* kRefusedNoSuchChannel = "Такого канала нет.";
inline constexpr const char* kRefusedNoSuchPeak = "Такого пика нет.";
inline constexpr const char* kRefusedNothingToUndo = "Отменять нечего.";
inline constexpr const char* kRefusedNothingToRedo = "Повторять нечего.";

// %1: a refusal above; %2: the value that stays in effect.
inline constexpr const char* kNotInEffect = "%1\nДействует: %2";

}  // namespace Strings
