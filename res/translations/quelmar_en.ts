<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru_RU">
<context>
    <name>Strings</name>
    <message>
        <source>Генератор хроматограммы</source>
        <translation>Chromatogram generator</translation>
    </message>
    <message>
        <source>Параметры</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>Время анализа, мин</source>
        <translation>Analysis time, min</translation>
    </message>
    <message>
        <source>Частота дикср.</source>
        <translation>Sampling rate</translation>
    </message>
    <message>
        <source>Шум, мВ</source>
        <translation>Noise, mV</translation>
    </message>
    <message>
        <source>Дрейф, мВ/мин</source>
        <translation>Drift, mV/min</translation>
    </message>
    <message>
        <source>Время (мин)</source>
        <translation>Time (min)</translation>
    </message>
    <message>
        <source>Отклик (мВ)</source>
        <translation>Response (mV)</translation>
    </message>
    <message>
        <source>Канал %1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>Введите число.</source>
        <translation>Enter a number.</translation>
    </message>
    <message>
        <source>Разметить пики</source>
        <translation>Mark peaks</translation>
    </message>
    <message>
        <source>Удалить пик</source>
        <translation>Delete peak</translation>
    </message>
    <message>
        <source>Удалить все пики</source>
        <translation>Delete all peaks</translation>
    </message>
    <message>
        <source>Добавить канал</source>
        <translation>Add channel</translation>
    </message>
    <message>
        <source>Удалить канал</source>
        <translation>Delete channel</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Название</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Время выхода</source>
        <translation>Retention time</translation>
    </message>
    <message>
        <source>Время начала</source>
        <translation>Start time</translation>
    </message>
    <message>
        <source>Время конца</source>
        <translation>End time</translation>
    </message>
    <message>
        <source>Высота</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>Ширина</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Площадь</source>
        <translation>Area</translation>
    </message>
    <message>
        <source>Асимметрия</source>
        <translation>Tailing</translation>
    </message>
    <message>
        <source>Сохранение</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Не удалось сохранить хроматограмму в файл
%1

%2</source>
        <translation>Could not save the chromatogram to the file
%1

%2</translation>
    </message>
    <message>
        <source>Пиков не вошло в сохранённую таблицу: %1 (каналы: %2): их время выхода лежит вне анализа, или их граница лежит на конце анализа или за ним.</source>
        <translation>Peaks left out of the saved table: %1 (channels: %2): their retention time lies outside the analysis, or a bound lies at or beyond its end.</translation>
    </message>
    <message>
        <source>Сохранено: %1</source>
        <translation>Saved: %1</translation>
    </message>
    <message>
        <source>%1%2 — %3</source>
        <translation>%1%2 — %3</translation>
    </message>
    <message>
        <source>Без имени</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>Сохранить изменения?</source>
        <translation>Save changes?</translation>
    </message>
    <message>
        <source>Сохранение хроматограммы…</source>
        <translation>Saving the chromatogram…</translation>
    </message>
    <message>
        <source>XSTG Files (*.xstg);;All Files (*.*)</source>
        <translation>XSTG Files (*.xstg);;All Files (*.*)</translation>
    </message>
    <message>
        <source>Файл нельзя создать или поставить на место прежнего: папки нет или в неё нельзя писать.</source>
        <translation>The file cannot be created or put in place of the old one: the folder does not exist or cannot be written to.</translation>
    </message>
    <message>
        <source>Не удалось записать заголовок файла.</source>
        <translation>The file&apos;s header could not be written.</translation>
    </message>
    <message>
        <source>Спектры имеют недопустимое число точек.</source>
        <translation>The spectra have an invalid number of points.</translation>
    </message>
    <message>
        <source>Не удалось записать заголовок блока данных.</source>
        <translation>A data block&apos;s header could not be written.</translation>
    </message>
    <message>
        <source>Не удалось записать данные: возможно, диск заполнен.</source>
        <translation>The data could not be written: the disk may be full.</translation>
    </message>
    <message>
        <source>Не удалось записать текстовую часть документа, или в ней есть текст, который XML не может хранить.</source>
        <translation>The document&apos;s text part could not be written, or it holds text that XML cannot hold.</translation>
    </message>
    <message>
        <source>Это не обычный файл (папка, канал или устройство): он не заменяется.</source>
        <translation>This is not a regular file (a folder, a pipe or a device): it is not replaced.</translation>
    </message>
    <message>
        <source>Файл спектров документа совпал бы с самим документом: выберите расширение .xstg.</source>
        <translation>The document&apos;s spectra file would be the document itself: choose the extension .xstg.</translation>
    </message>
    <message>
        <source>Документ больше, чем допускает формат.</source>
        <translation>The document is larger than the format allows.</translation>
    </message>
    <message>
        <source>В документе есть бесконечные или неопределённые значения: такой документ не сохраняется.</source>
        <translation>The document holds infinite or undefined values: such a document is not saved.</translation>
    </message>
    <message>
        <source>Неизвестная ошибка (код %1).</source>
        <translation>Unknown error (code %1).</translation>
    </message>
    <message>
        <source>Система сообщает: %1</source>
        <translation>The system says: %1</translation>
    </message>
    <message>
        <source>Нужно конечное число.</source>
        <translation>A finite number is needed.</translation>
    </message>
    <message>
        <source>Время анализа должно быть больше 0 мин.</source>
        <translation>The analysis time must be greater than 0 min.</translation>
    </message>
    <message>
        <source>Частота дискретизации — не меньше 1 отсчёта в минуту.</source>
        <translation>The sampling rate must be at least 1 sample per minute.</translation>
    </message>
    <message>
        <source>Канал вышел бы длиннее %1 отсчётов.</source>
        <translation>A channel would be longer than %1 samples.</translation>
    </message>
    <message>
        <source>Все каналы вместе вышли бы длиннее %1 отсчётов.</source>
        <translation>All channels together would be longer than %1 samples.</translation>
    </message>
    <message>
        <source>В документе не больше %1 каналов.</source>
        <translation>A document holds at most %1 channels.</translation>
    </message>
    <message>
        <source>Последний канал удалить нельзя.</source>
        <translation>The last channel cannot be deleted.</translation>
    </message>
    <message>
        <source>Шум не может быть отрицательным.</source>
        <translation>The noise cannot be negative.</translation>
    </message>
    <message>
        <source>Шум больше %1 мВ вывел бы отсчёты за пределы их точности.</source>
        <translation>Noise above %1 mV would take the samples beyond their precision.</translation>
    </message>
    <message>
        <source>Дрейф по модулю больше %1 мВ/мин вывел бы отсчёты за пределы их точности.</source>
        <translation>A drift beyond %1 mV/min in magnitude would take the samples beyond their precision.</translation>
    </message>
    <message>
        <source>Высота по модулю — не больше %1 мВ.</source>
        <translation>The height may be at most %1 mV in magnitude.</translation>
    </message>
    <message>
        <source>Ширина должна быть больше 0.</source>
        <translation>The width must be greater than 0.</translation>
    </message>
    <message>
        <source>Асимметрия — от 0,5 до 4.</source>
        <translation>The tailing factor lies between 0.5 and 4.</translation>
    </message>
    <message>
        <source>Начало пика должно быть раньше его конца.</source>
        <translation>A peak&apos;s start must lie before its end.</translation>
    </message>
    <message>
        <source>Время выхода должно лежать между началом и концом пика.</source>
        <translation>The retention time must lie between the peak&apos;s start and end.</translation>
    </message>
    <message>
        <source>Границы пика должны лежать внутри анализа, не дальше %1 мин.</source>
        <translation>A peak&apos;s bounds must lie within the analysis, no later than %1 min.</translation>
    </message>
    <message>
        <source>Площадь должна быть больше 0.</source>
        <translation>The area must be greater than 0.</translation>
    </message>
    <message>
        <source>Такой площади не даёт ни одна ширина в пределах анализа: наибольшая — %1.</source>
        <translation>No width within the analysis gives this area: the largest is %1.</translation>
    </message>
    <message>
        <source>Даже самый узкий пик такой высоты даёт площадь больше: наименьшая — %1.</source>
        <translation>Even the narrowest peak of this height has a larger area: the smallest is %1.</translation>
    </message>
    <message>
        <source>У пика нулевой высоты нет площади.</source>
        <translation>A peak of height 0 has no area.</translation>
    </message>
    <message>
        <source>Сигнал канала %1 вышел бы за пределы точности отсчётов.</source>
        <translation>The signal of channel %1 would go beyond the samples&apos; precision.</translation>
    </message>
    <message>
        <source>В названии есть символ, который документ не может хранить.</source>
        <translation>The name holds a character that a document cannot store.</translation>
    </message>
    <message>
        <source>Такие составляющие базовой линии и шума нельзя синтезировать на этом канале.</source>
        <translation>These baseline and noise components cannot be synthesised on this channel.</translation>
    </message>
    <message>
        <source>Такого канала нет.</source>
        <translation>There is no such channel.</translation>
    </message>
    <message>
        <source>Такого пика нет.</source>
        <translation>There is no such peak.</translation>
    </message>
    <message>
        <source>Отменять нечего.</source>
        <translation>Nothing to undo.</translation>
    </message>
    <message>
        <source>Повторять нечего.</source>
        <translation>Nothing to redo.</translation>
    </message>
    <message>
        <source>%1
Действует: %2</source>
        <translation>%1
In effect: %2</translation>
    </message>
    <message>
        <source>Открытие</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Не удалось открыть файл
%1

%2</source>
        <translation>Could not open the file
%1

%2</translation>
    </message>
    <message>
        <source>Хроматограммы (*.xstg);;Сценарии (*.json);;Все файлы (*)</source>
        <translation>Chromatograms (*.xstg);;Scenarios (*.json);;All files (*)</translation>
    </message>
    <message>
        <source>Файла нет, или его нельзя прочитать.</source>
        <translation>The file does not exist or cannot be read.</translation>
    </message>
    <message>
        <source>Файл короче заголовка документа.</source>
        <translation>The file is shorter than a document&apos;s header.</translation>
    </message>
    <message>
        <source>Это не документ хроматограммы.</source>
        <translation>This is not a chromatogram document.</translation>
    </message>
    <message>
        <source>Документ неизвестной версии.</source>
        <translation>The document has an unknown version.</translation>
    </message>
    <message>
        <source>Файл обрывается в заголовке блока данных.</source>
        <translation>The file ends inside a data block&apos;s header.</translation>
    </message>
    <message>
        <source>Блок данных заявляет больше отсчётов, чем есть в файле.</source>
        <translation>A data block claims more samples than the file holds.</translation>
    </message>
    <message>
        <source>Текстовая часть документа не читается.</source>
        <translation>The document&apos;s text part cannot be read.</translation>
    </message>
    <message>
        <source>Файл больше любого документа этого формата.</source>
        <translation>The file is larger than any document of this format.</translation>
    </message>
    <message>
        <source>Файл спектров рядом с документом повреждён.</source>
        <translation>The spectra file beside the document is damaged.</translation>
    </message>
    <message>
        <source>Подробно: %1</source>
        <translation>Details: %1</translation>
    </message>
    <message>
        <source>В документе нет параметров генератора: шум и дрейф каналов приняты равными 0, ширины пиков оценены по их площади и высоте, границы пиков оставлены как в файле.</source>
        <translation>The document holds no generator settings: the channels&apos; noise and drift are taken as 0, the peaks&apos; widths are estimated from their areas and heights, and their bounds are kept as stored.</translation>
    </message>
    <message>
        <source>Открыт файл %1</source>
        <translation>Opened %1</translation>
    </message>
    <message>
        <source>Параметры генератора в документе не прочитаны: %1.</source>
        <translation>The generator settings in the document could not be read: %1.</translation>
    </message>
    <message>
        <source>Сценарий не подходит: %1.</source>
        <translation>The scenario cannot be used: %1.</translation>
    </message>
    <message>
        <source>Рисунок сохраняется в файл .png или .svg.</source>
        <translation>A picture is saved as a .png or .svg file.</translation>
    </message>
    <message>
        <source>Стороны рисунка — от %1 до %2 пикселей.</source>
        <translation>A picture&apos;s sides must be %1 to %2 pixels.</translation>
    </message>
    <message>
        <source>Рисунок PNG (*.png);;Рисунок SVG (*.svg)</source>
        <translation>PNG picture (*.png);;SVG picture (*.svg)</translation>
    </message>
    <message>
        <source>Таблица CSV (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
    <message>
        <source>Файл AIA (*.cdf)</source>
        <translation>AIA file (*.cdf)</translation>
    </message>
    <message>
        <source>Записано: %1</source>
        <translation>Written: %1</translation>
    </message>
    <message>
        <source>Не удалось записать %1: %2</source>
        <translation>Could not write %1: %2</translation>
    </message>
    <message>
        <source>Рисунок графика скопирован в буфер обмена.</source>
        <translation>The graph&apos;s picture is on the clipboard.</translation>
    </message>
    <message>
        <source>Рисунок графика</source>
        <translation>Graph picture</translation>
    </message>
    <message>
        <source>Ширина, пикс.</source>
        <translation>Width, px</translation>
    </message>
    <message>
        <source>Высота, пикс.</source>
        <translation>Height, px</translation>
    </message>
    <message>
        <source>С метками пиков</source>
        <translation>With the peak marks</translation>
    </message>
    <message>
        <source>&amp;Файл</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Правка</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>Новая хроматограмма</source>
        <translation>New chromatogram</translation>
    </message>
    <message>
        <source>Открыть…</source>
        <translation>Open…</translation>
    </message>
    <message>
        <source>Сохранить как…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>Экспорт в CSV…</source>
        <translation>Export to CSV…</translation>
    </message>
    <message>
        <source>Экспорт в AIA…</source>
        <translation>Export to AIA…</translation>
    </message>
    <message>
        <source>Сохранить рисунок…</source>
        <translation>Save picture…</translation>
    </message>
    <message>
        <source>Копировать рисунок</source>
        <translation>Copy picture</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>Базовая линия и шум…</source>
        <translation>Baseline and noise…</translation>
    </message>
    <message>
        <source>Базовая линия и шум: %1</source>
        <translation>Baseline and noise: %1</translation>
    </message>
    <message>
        <source>Ступени базовой линии</source>
        <translation>Baseline steps</translation>
    </message>
    <message>
        <source>Время, мин</source>
        <translation>Time, min</translation>
    </message>
    <message>
        <source>Высота, мВ</source>
        <translation>Height, mV</translation>
    </message>
    <message>
        <source>Ширина, мин</source>
        <translation>Width, min</translation>
    </message>
    <message>
        <source>Добавить ступень</source>
        <translation>Add a step</translation>
    </message>
    <message>
        <source>Удалить ступень</source>
        <translation>Remove the step</translation>
    </message>
    <message>
        <source>Синусоида (пульсации насоса)</source>
        <translation>Sine (pump pulsation)</translation>
    </message>
    <message>
        <source>Амплитуда, мВ</source>
        <translation>Amplitude, mV</translation>
    </message>
    <message>
        <source>Период, мин</source>
        <translation>Period, min</translation>
    </message>
    <message>
        <source>Фаза, рад</source>
        <translation>Phase, rad</translation>
    </message>
    <message>
        <source>Установление (прогрев детектора)</source>
        <translation>Settling (detector warm-up)</translation>
    </message>
    <message>
        <source>Постоянная времени, мин</source>
        <translation>Time constant, min</translation>
    </message>
    <message>
        <source>Блуждание, мВ/√мин</source>
        <translation>Wander, mV/√min</translation>
    </message>
    <message>
        <source>Розовый шум, мВ</source>
        <translation>Pink noise, mV</translation>
    </message>
    <message>
        <source>Выбросы</source>
        <translation>Spikes</translation>
    </message>
    <message>
        <source>Частота, 1/мин</source>
        <translation>Rate, 1/min</translation>
    </message>
    <message>
        <source>Высота от, мВ</source>
        <translation>Height from, mV</translation>
    </message>
    <message>
        <source>Высота до, мВ</source>
        <translation>Height to, mV</translation>
    </message>
    <message>
        <source>«%1»: введите число.</source>
        <translation>&quot;%1&quot;: enter a number.</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>экспорт записал бы поверх документа %1</source>
        <translation>the export would write over the document %1</translation>
    </message>
</context>
</TS>
