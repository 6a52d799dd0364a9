<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="ru_RU">
<context>
    <name>Strings</name>
    <message>
        <source>Генератор хроматограммы</source>
        <translation>Генератор хроматограммы</translation>
    </message>
    <message>
        <source>Параметры</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>Время анализа, мин</source>
        <translation>Время анализа, мин</translation>
    </message>
    <message>
        <source>Частота дикср.</source>
        <translation>Частота дикср.</translation>
    </message>
    <message>
        <source>Шум, мВ</source>
        <translation>Шум, мВ</translation>
    </message>
    <message>
        <source>Дрейф, мВ/мин</source>
        <translation>Дрейф, мВ/мин</translation>
    </message>
    <message>
        <source>Время (мин)</source>
        <translation>Время (мин)</translation>
    </message>
    <message>
        <source>Отклик (мВ)</source>
        <translation>Отклик (мВ)</translation>
    </message>
    <message>
        <source>Канал %1</source>
        <translation>Канал %1</translation>
    </message>
    <message>
        <source>Введите число.</source>
        <translation>Введите число.</translation>
    </message>
    <message>
        <source>Разметить пики</source>
        <translation>Разметить пики</translation>
    </message>
    <message>
        <source>Удалить пик</source>
        <translation>Удалить пик</translation>
    </message>
    <message>
        <source>Удалить все пики</source>
        <translation>Удалить все пики</translation>
    </message>
    <message>
        <source>Добавить канал</source>
        <translation>Добавить канал</translation>
    </message>
    <message>
        <source>Удалить канал</source>
        <translation>Удалить канал</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Название</source>
        <translation>Название</translation>
    </message>
    <message>
        <source>Время выхода</source>
        <translation>Время выхода</translation>
    </message>
    <message>
        <source>Время начала</source>
        <translation>Время начала</translation>
    </message>
    <message>
        <source>Время конца</source>
        <translation>Время конца</translation>
    </message>
    <message>
        <source>Высота</source>
        <translation>Высота</translation>
    </message>
    <message>
        <source>Ширина</source>
        <translation>Ширина</translation>
    </message>
    <message>
        <source>Площадь</source>
        <translation>Площадь</translation>
    </message>
    <message>
        <source>Асимметрия</source>
        <translation>Асимметрия</translation>
    </message>
    <message>
        <source>Сохранение</source>
        <translation>Сохранение</translation>
    </message>
    <message>
        <source>Не удалось сохранить хроматограмму в файл
%1

%2</source>
        <translation>Не удалось сохранить хроматограмму в файл
%1

%2</translation>
    </message>
    <message>
        <source>Пиков не вошло в сохранённую таблицу: %1 (каналы: %2): их время выхода лежит вне анализа, или их граница лежит на конце анализа или за ним.</source>
        <translation>Пиков не вошло в сохранённую таблицу: %1 (каналы: %2): их время выхода лежит вне анализа, или их граница лежит на конце анализа или за ним.</translation>
    </message>
    <message>
        <source>Сохранено: %1</source>
        <translation>Сохранено: %1</translation>
    </message>
    <message>
        <source>%1%2 — %3</source>
        <translation>%1%2 — %3</translation>
    </message>
    <message>
        <source>Без имени</source>
        <translation>Без имени</translation>
    </message>
    <message>
        <source>Сохранить изменения?</source>
        <translation>Сохранить изменения?</translation>
    </message>
    <message>
        <source>Сохранение хроматограммы…</source>
        <translation>Сохранение хроматограммы…</translation>
    </message>
    <message>
        <source>XSTG Files (*.xstg);;All Files (*.*)</source>
        <translation>XSTG Files (*.xstg);;All Files (*.*)</translation>
    </message>
    <message>
        <source>Файл нельзя создать или поставить на место прежнего: папки нет или в неё нельзя писать.</source>
        <translation>Файл нельзя создать или поставить на место прежнего: папки нет или в неё нельзя писать.</translation>
    </message>
    <message>
        <source>Не удалось записать заголовок файла.</source>
        <translation>Не удалось записать заголовок файла.</translation>
    </message>
    <message>
        <source>Спектры имеют недопустимое число точек.</source>
        <translation>Спектры имеют недопустимое число точек.</translation>
    </message>
    <message>
        <source>Не удалось записать заголовок блока данных.</source>
        <translation>Не удалось записать заголовок блока данных.</translation>
    </message>
    <message>
        <source>Не удалось записать данные: возможно, диск заполнен.</source>
        <translation>Не удалось записать данные: возможно, диск заполнен.</translation>
    </message>
    <message>
        <source>Не удалось записать текстовую часть документа, или в ней есть текст, который XML не может хранить.</source>
        <translation>Не удалось записать текстовую часть документа, или в ней есть текст, который XML не может хранить.</translation>
    </message>
    <message>
        <source>Это не обычный файл (папка, канал или устройство): он не заменяется.</source>
        <translation>Это не обычный файл (папка, канал или устройство): он не заменяется.</translation>
    </message>
    <message>
        <source>Файл спектров документа совпал бы с самим документом: выберите расширение .xstg.</source>
        <translation>Файл спектров документа совпал бы с самим документом: выберите расширение .xstg.</translation>
    </message>
    <message>
        <source>Документ больше, чем допускает формат.</source>
        <translation>Документ больше, чем допускает формат.</translation>
    </message>
    <message>
        <source>В документе есть бесконечные или неопределённые значения: такой документ не сохраняется.</source>
        <translation>В документе есть бесконечные или неопределённые значения: такой документ не сохраняется.</translation>
    </message>
    <message>
        <source>Неизвестная ошибка (код %1).</source>
        <translation>Неизвестная ошибка (код %1).</translation>
    </message>
    <message>
        <source>Система сообщает: %1</source>
        <translation>Система сообщает: %1</translation>
    </message>
    <message>
        <source>Нужно конечное число.</source>
        <translation>Нужно конечное число.</translation>
    </message>
    <message>
        <source>Время анализа должно быть больше 0 мин.</source>
        <translation>Время анализа должно быть больше 0 мин.</translation>
    </message>
    <message>
        <source>Частота дискретизации — не меньше 1 отсчёта в минуту.</source>
        <translation>Частота дискретизации — не меньше 1 отсчёта в минуту.</translation>
    </message>
    <message>
        <source>Канал вышел бы длиннее %1 отсчётов.</source>
        <translation>Канал вышел бы длиннее %1 отсчётов.</translation>
    </message>
    <message>
        <source>Все каналы вместе вышли бы длиннее %1 отсчётов.</source>
        <translation>Все каналы вместе вышли бы длиннее %1 отсчётов.</translation>
    </message>
    <message>
        <source>В документе не больше %1 каналов.</source>
        <translation>В документе не больше %1 каналов.</translation>
    </message>
    <message>
        <source>Последний канал удалить нельзя.</source>
        <translation>Последний канал удалить нельзя.</translation>
    </message>
    <message>
        <source>Шум не может быть отрицательным.</source>
        <translation>Шум не может быть отрицательным.</translation>
    </message>
    <message>
        <source>Шум больше %1 мВ вывел бы отсчёты за пределы их точности.</source>
        <translation>Шум больше %1 мВ вывел бы отсчёты за пределы их точности.</translation>
    </message>
    <message>
        <source>Дрейф по модулю больше %1 мВ/мин вывел бы отсчёты за пределы их точности.</source>
        <translation>Дрейф по модулю больше %1 мВ/мин вывел бы отсчёты за пределы их точности.</translation>
    </message>
    <message>
        <source>Высота по модулю — не больше %1 мВ.</source>
        <translation>Высота по модулю — не больше %1 мВ.</translation>
    </message>
    <message>
        <source>Ширина должна быть больше 0.</source>
        <translation>Ширина должна быть больше 0.</translation>
    </message>
    <message>
        <source>Асимметрия — от 0,5 до 4.</source>
        <translation>Асимметрия — от 0,5 до 4.</translation>
    </message>
    <message>
        <source>Начало пика должно быть раньше его конца.</source>
        <translation>Начало пика должно быть раньше его конца.</translation>
    </message>
    <message>
        <source>Время выхода должно лежать между началом и концом пика.</source>
        <translation>Время выхода должно лежать между началом и концом пика.</translation>
    </message>
    <message>
        <source>Границы пика должны лежать внутри анализа, не дальше %1 мин.</source>
        <translation>Границы пика должны лежать внутри анализа, не дальше %1 мин.</translation>
    </message>
    <message>
        <source>Площадь должна быть больше 0.</source>
        <translation>Площадь должна быть больше 0.</translation>
    </message>
    <message>
        <source>Такой площади не даёт ни одна ширина в пределах анализа: наибольшая — %1.</source>
        <translation>Такой площади не даёт ни одна ширина в пределах анализа: наибольшая — %1.</translation>
    </message>
    <message>
        <source>Даже самый узкий пик такой высоты даёт площадь больше: наименьшая — %1.</source>
        <translation>Даже самый узкий пик такой высоты даёт площадь больше: наименьшая — %1.</translation>
    </message>
    <message>
        <source>У пика нулевой высоты нет площади.</source>
        <translation>У пика нулевой высоты нет площади.</translation>
    </message>
    <message>
        <source>Сигнал канала %1 вышел бы за пределы точности отсчётов.</source>
        <translation>Сигнал канала %1 вышел бы за пределы точности отсчётов.</translation>
    </message>
    <message>
        <source>В названии есть символ, который документ не может хранить.</source>
        <translation>В названии есть символ, который документ не может хранить.</translation>
    </message>
    <message>
        <source>Такие составляющие базовой линии и шума нельзя синтезировать на этом канале.</source>
        <translation>Такие составляющие базовой линии и шума нельзя синтезировать на этом канале.</translation>
    </message>
    <message>
        <source>Такого канала нет.</source>
        <translation>Такого канала нет.</translation>
    </message>
    <message>
        <source>Такого пика нет.</source>
        <translation>Такого пика нет.</translation>
    </message>
    <message>
        <source>Отменять нечего.</source>
        <translation>Отменять нечего.</translation>
    </message>
    <message>
        <source>Повторять нечего.</source>
        <translation>Повторять нечего.</translation>
    </message>
    <message>
        <source>%1
Действует: %2</source>
        <translation>%1
Действует: %2</translation>
    </message>
    <message>
        <source>Открытие</source>
        <translation>Открытие</translation>
    </message>
    <message>
        <source>Не удалось открыть файл
%1

%2</source>
        <translation>Не удалось открыть файл
%1

%2</translation>
    </message>
    <message>
        <source>Хроматограммы (*.xstg);;Сценарии (*.json);;Все файлы (*)</source>
        <translation>Хроматограммы (*.xstg);;Сценарии (*.json);;Все файлы (*)</translation>
    </message>
    <message>
        <source>Файла нет, или его нельзя прочитать.</source>
        <translation>Файла нет, или его нельзя прочитать.</translation>
    </message>
    <message>
        <source>Файл короче заголовка документа.</source>
        <translation>Файл короче заголовка документа.</translation>
    </message>
    <message>
        <source>Это не документ хроматограммы.</source>
        <translation>Это не документ хроматограммы.</translation>
    </message>
    <message>
        <source>Документ неизвестной версии.</source>
        <translation>Документ неизвестной версии.</translation>
    </message>
    <message>
        <source>Файл обрывается в заголовке блока данных.</source>
        <translation>Файл обрывается в заголовке блока данных.</translation>
    </message>
    <message>
        <source>Блок данных заявляет больше отсчётов, чем есть в файле.</source>
        <translation>Блок данных заявляет больше отсчётов, чем есть в файле.</translation>
    </message>
    <message>
        <source>Текстовая часть документа не читается.</source>
        <translation>Текстовая часть документа не читается.</translation>
    </message>
    <message>
        <source>Файл больше любого документа этого формата.</source>
        <translation>Файл больше любого документа этого формата.</translation>
    </message>
    <message>
        <source>Файл спектров рядом с документом повреждён.</source>
        <translation>Файл спектров рядом с документом повреждён.</translation>
    </message>
    <message>
        <source>Подробно: %1</source>
        <translation>Подробно: %1</translation>
    </message>
    <message>
        <source>В документе нет параметров генератора: шум и дрейф каналов приняты равными 0, ширины пиков оценены по их площади и высоте, границы пиков оставлены как в файле.</source>
        <translation>В документе нет параметров генератора: шум и дрейф каналов приняты равными 0, ширины пиков оценены по их площади и высоте, границы пиков оставлены как в файле.</translation>
    </message>
    <message>
        <source>Открыт файл %1</source>
        <translation>Открыт файл %1</translation>
    </message>
    <message>
        <source>Параметры генератора в документе не прочитаны: %1.</source>
        <translation>Параметры генератора в документе не прочитаны: %1.</translation>
    </message>
    <message>
        <source>Сценарий не подходит: %1.</source>
        <translation>Сценарий не подходит: %1.</translation>
    </message>
    <message>
        <source>Рисунок сохраняется в файл .png или .svg.</source>
        <translation>Рисунок сохраняется в файл .png или .svg.</translation>
    </message>
    <message>
        <source>Стороны рисунка — от %1 до %2 пикселей.</source>
        <translation>Стороны рисунка — от %1 до %2 пикселей.</translation>
    </message>
    <message>
        <source>Рисунок PNG (*.png);;Рисунок SVG (*.svg)</source>
        <translation>Рисунок PNG (*.png);;Рисунок SVG (*.svg)</translation>
    </message>
    <message>
        <source>Таблица CSV (*.csv)</source>
        <translation>Таблица CSV (*.csv)</translation>
    </message>
    <message>
        <source>Файл AIA (*.cdf)</source>
        <translation>Файл AIA (*.cdf)</translation>
    </message>
    <message>
        <source>Записано: %1</source>
        <translation>Записано: %1</translation>
    </message>
    <message>
        <source>Не удалось записать %1: %2</source>
        <translation>Не удалось записать %1: %2</translation>
    </message>
    <message>
        <source>Рисунок графика скопирован в буфер обмена.</source>
        <translation>Рисунок графика скопирован в буфер обмена.</translation>
    </message>
    <message>
        <source>Рисунок графика</source>
        <translation>Рисунок графика</translation>
    </message>
    <message>
        <source>Ширина, пикс.</source>
        <translation>Ширина, пикс.</translation>
    </message>
    <message>
        <source>Высота, пикс.</source>
        <translation>Высота, пикс.</translation>
    </message>
    <message>
        <source>С метками пиков</source>
        <translation>С метками пиков</translation>
    </message>
    <message>
        <source>&amp;Файл</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>&amp;Правка</source>
        <translation>&amp;Правка</translation>
    </message>
    <message>
        <source>Новая хроматограмма</source>
        <translation>Новая хроматограмма</translation>
    </message>
    <message>
        <source>Открыть…</source>
        <translation>Открыть…</translation>
    </message>
    <message>
        <source>Сохранить как…</source>
        <translation>Сохранить как…</translation>
    </message>
    <message>
        <source>Экспорт в CSV…</source>
        <translation>Экспорт в CSV…</translation>
    </message>
    <message>
        <source>Экспорт в AIA…</source>
        <translation>Экспорт в AIA…</translation>
    </message>
    <message>
        <source>Сохранить рисунок…</source>
        <translation>Сохранить рисунок…</translation>
    </message>
    <message>
        <source>Копировать рисунок</source>
        <translation>Копировать рисунок</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>Базовая линия и шум…</source>
        <translation>Базовая линия и шум…</translation>
    </message>
    <message>
        <source>Базовая линия и шум: %1</source>
        <translation>Базовая линия и шум: %1</translation>
    </message>
    <message>
        <source>Ступени базовой линии</source>
        <translation>Ступени базовой линии</translation>
    </message>
    <message>
        <source>Время, мин</source>
        <translation>Время, мин</translation>
    </message>
    <message>
        <source>Высота, мВ</source>
        <translation>Высота, мВ</translation>
    </message>
    <message>
        <source>Ширина, мин</source>
        <translation>Ширина, мин</translation>
    </message>
    <message>
        <source>Добавить ступень</source>
        <translation>Добавить ступень</translation>
    </message>
    <message>
        <source>Удалить ступень</source>
        <translation>Удалить ступень</translation>
    </message>
    <message>
        <source>Синусоида (пульсации насоса)</source>
        <translation>Синусоида (пульсации насоса)</translation>
    </message>
    <message>
        <source>Амплитуда, мВ</source>
        <translation>Амплитуда, мВ</translation>
    </message>
    <message>
        <source>Период, мин</source>
        <translation>Период, мин</translation>
    </message>
    <message>
        <source>Фаза, рад</source>
        <translation>Фаза, рад</translation>
    </message>
    <message>
        <source>Установление (прогрев детектора)</source>
        <translation>Установление (прогрев детектора)</translation>
    </message>
    <message>
        <source>Постоянная времени, мин</source>
        <translation>Постоянная времени, мин</translation>
    </message>
    <message>
        <source>Блуждание, мВ/√мин</source>
        <translation>Блуждание, мВ/√мин</translation>
    </message>
    <message>
        <source>Розовый шум, мВ</source>
        <translation>Розовый шум, мВ</translation>
    </message>
    <message>
        <source>Выбросы</source>
        <translation>Выбросы</translation>
    </message>
    <message>
        <source>Частота, 1/мин</source>
        <translation>Частота, 1/мин</translation>
    </message>
    <message>
        <source>Высота от, мВ</source>
        <translation>Высота от, мВ</translation>
    </message>
    <message>
        <source>Высота до, мВ</source>
        <translation>Высота до, мВ</translation>
    </message>
    <message>
        <source>«%1»: введите число.</source>
        <translation>«%1»: введите число.</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>экспорт записал бы поверх документа %1</source>
        <translation>экспорт записал бы поверх документа %1</translation>
    </message>
</context>
</TS>
