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
inline constexpr const char* kDriftLabel = "Дрейф, мВ";
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
    "Пиков не вошло в сохранённую таблицу: %1 (каналы: %2). Их границы лежат на конце "
    "анализа или за ним.";
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
