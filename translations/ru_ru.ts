<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU" sourcelanguage="zh_CN">
<context>
    <name>ChildCalMeasureDialog</name>
    <message>
        <source>请输入校准测量值...</source>
        <translation>Введите измеренное значение...</translation>
    </message>
    <message>
        <source>校准点:</source>
        <translation>Точка:</translation>
    </message>
    <message>
        <source>测量值:</source>
        <translation>Измерено:</translation>
    </message>
</context>
<context>
    <name>ChildTestTimeDialog</name>
    <message>
        <source>定时设置</source>
        <translation>Запуск по времени</translation>
    </message>
    <message>
        <source>输出开始时刻：</source>
        <translation>Начало вывода:</translation>
    </message>
    <message>
        <source>开出翻转时刻：</source>
        <translation>Перекл. ДВых:</translation>
    </message>
</context>
<context>
    <name>CommSOEEntity</name>
    <message>
        <source>开始测试</source>
        <translation>Начало теста</translation>
    </message>
    <message>
        <source>停止测试</source>
        <translation>Останов теста</translation>
    </message>
    <message>
        <source>开始输出</source>
        <translation>Начало вывода</translation>
    </message>
    <message>
        <source>停止输出</source>
        <translation>Останов вывода</translation>
    </message>
    <message>
        <source>改变输出</source>
        <translation>Смена вывода</translation>
    </message>
    <message>
        <source>输出状态</source>
        <translation>Состояние вывода</translation>
    </message>
    <message>
        <source>状态%1未在仪器到达前写入，测试在此结束</source>
        <translation>Состояние %1 не было записано до того, как прибор его достиг: тест завершён</translation>
    </message>
    <message>
        <source>开出量</source>
        <translation>ДВых</translation>
    </message>
    <message>
        <source>开入量</source>
        <translation>ДВ</translation>
    </message>
    <message>
        <source>由合到开</source>
        <translation>Вкл-Откл</translation>
    </message>
    <message>
        <source>由开到合</source>
        <translation>Откл-Вкл</translation>
    </message>
</context>
<context>
    <name>ComputerDistanceDialog</name>
    <message>
        <source>故障计算</source>
        <translation>Расчёт КЗ</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Z0/Z1幅值</source>
        <translation>Z0/Z1 мод.</translation>
    </message>
    <message>
        <source>Z0/Z1角度</source>
        <translation>Z0/Z1 угол</translation>
    </message>
    <message>
        <source>KL幅值</source>
        <translation>KL мод.</translation>
    </message>
    <message>
        <source>KL角度</source>
        <translation>KL угол</translation>
    </message>
    <message>
        <source>故障参数</source>
        <translation>Параметры КЗ</translation>
    </message>
    <message>
        <source>计算模型</source>
        <translation>Модель</translation>
    </message>
    <message>
        <source>电流恒定</source>
        <translation>I пост.</translation>
    </message>
    <message>
        <source>电压恒定</source>
        <translation>U пост.</translation>
    </message>
    <message>
        <source>故障类型</source>
        <translation>Вид КЗ</translation>
    </message>
    <message>
        <source>CT位置</source>
        <translation>Напр. ТТ</translation>
    </message>
    <message>
        <source>指向母线</source>
        <translation>Шины</translation>
    </message>
    <message>
        <source>指向线路</source>
        <translation>Линия</translation>
    </message>
    <message>
        <source>PT位置</source>
        <translation>Напр. ТН</translation>
    </message>
    <message>
        <source>在母线上</source>
        <translation>Шины</translation>
    </message>
    <message>
        <source>在线路上</source>
        <translation>Линия</translation>
    </message>
    <message>
        <source>故障方向</source>
        <translation>Напр. КЗ</translation>
    </message>
    <message>
        <source>正方向</source>
        <translation>Прямое</translation>
    </message>
    <message>
        <source>反方向</source>
        <translation>Обратное</translation>
    </message>
    <message>
        <source>故障电压</source>
        <translation>U КЗ</translation>
    </message>
    <message>
        <source>故障电流</source>
        <translation>I КЗ</translation>
    </message>
    <message>
        <source>负荷电流</source>
        <translation>I нагр.</translation>
    </message>
    <message>
        <source>负荷相角</source>
        <translation>θ нагр.</translation>
    </message>
    <message>
        <source>短路阻抗</source>
        <translation>Сопротивление КЗ</translation>
    </message>
    <message>
        <source>角</source>
        <translation>θ</translation>
    </message>
    <message>
        <source>零序补偿系数</source>
        <translation>Коэф. нулевой посл.</translation>
    </message>
    <message>
        <source>补偿方式</source>
        <translation>Режим</translation>
    </message>
</context>
<context>
    <name>EditNumberBox</name>
    <message>
        <source>无效值</source>
        <translation>Неверно</translation>
    </message>
    <message>
        <source>超出范围</source>
        <translation>Вне диапазона</translation>
    </message>
</context>
<context>
    <name>FileManagerPage</name>
    <message>
        <source>交流试验</source>
        <translation>Пер. ток</translation>
    </message>
    <message>
        <source>过流试验</source>
        <translation>МТЗ</translation>
    </message>
    <message>
        <source>状态序列</source>
        <translation>Состоян.</translation>
    </message>
    <message>
        <source>递变试验</source>
        <translation>Рампа</translation>
    </message>
    <message>
        <source>谐波试验</source>
        <translation>Гармон.</translation>
    </message>
    <message>
        <source>距离试验</source>
        <translation>ДЗ</translation>
    </message>
    <message>
        <source>低周减载</source>
        <translation>АЧР</translation>
    </message>
    <message>
        <source>低压减载</source>
        <translation>АОСН</translation>
    </message>
    <message>
        <source>直流试验</source>
        <translation>Пост. ток</translation>
    </message>
    <message>
        <source>震荡模拟</source>
        <translation>Качания</translation>
    </message>
    <message>
        <source>电能表</source>
        <translation>Счётчик</translation>
    </message>
    <message>
        <source>U盘不存在！请重新插入U盘。</source>
        <translation>USB-накопитель не найден! Вставьте его снова.</translation>
    </message>
    <message>
        <source>确定导出选中的文件？同名文件会被覆盖</source>
        <translation>Экспортировать выбранные файлы? Файлы с тем же именем будут перезаписаны.</translation>
    </message>
    <message>
        <source>导出文件成功！</source>
        <translation>Экспорт выполнен!</translation>
    </message>
    <message>
        <source>导出文件失败！</source>
        <translation>Ошибка экспорта!</translation>
    </message>
    <message>
        <source>确定导入选中的文件？同名文件会被覆盖</source>
        <translation>Импортировать выбранные файлы? Файлы с тем же именем будут перезаписаны.</translation>
    </message>
    <message>
        <source>导入文件成功！</source>
        <translation>Импорт выполнен!</translation>
    </message>
    <message>
        <source>导入文件失败！</source>
        <translation>Ошибка импорта!</translation>
    </message>
    <message>
        <source>确定删除选中的文件？</source>
        <translation>Удалить выбранные файлы?</translation>
    </message>
    <message>
        <source>删除文件成功！</source>
        <translation>Файлы удалены!</translation>
    </message>
    <message>
        <source>删除文件失败！</source>
        <translation>Ошибка удаления!</translation>
    </message>
    <message>
        <source>设备内部</source>
        <translation>Прибор</translation>
    </message>
    <message>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Парам.</translation>
    </message>
    <message>
        <source>报告</source>
        <translation>Отчёты</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>№</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>Имя файла</translation>
    </message>
    <message>
        <source>选择</source>
        <translation>Выбор</translation>
    </message>
    <message>
        <source>没有文件</source>
        <translation>Нет файлов</translation>
    </message>
    <message>
        <source>文件数</source>
        <translation>Файлов</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>Все</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Экспорт</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Импорт</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Сообщение</translation>
    </message>
</context>
<context>
    <name>InputCharNumberPanel</name>
    <message>
        <source>回退</source>
        <translation>Стереть</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Ввод</translation>
    </message>
</context>
<context>
    <name>InputDateTimePanel</name>
    <message>
        <source>年</source>
        <translation>г</translation>
    </message>
    <message>
        <source>月</source>
        <translation>М</translation>
    </message>
    <message>
        <source>日</source>
        <translation>д</translation>
    </message>
    <message>
        <source>时</source>
        <translation>ч</translation>
    </message>
    <message>
        <source>分</source>
        <translation>м</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>с</translation>
    </message>
</context>
<context>
    <name>InputNumberPanel</name>
    <message>
        <source>回退</source>
        <translation>Стереть</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Ввод</translation>
    </message>
</context>
<context>
    <name>InputTimePanel</name>
    <message>
        <source>时</source>
        <translation>ч</translation>
    </message>
    <message>
        <source>分</source>
        <translation>м</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>с</translation>
    </message>
</context>
<context>
    <name>LoadSheddingPage</name>
    <message>
        <source>未复归</source>
        <translation>Нет возврата</translation>
    </message>
    <message>
        <source>故障前时间</source>
        <translation>T.до КЗ</translation>
    </message>
    <message>
        <source>保持时间</source>
        <translation>T.удерж.</translation>
    </message>
    <message>
        <source>故障后时间</source>
        <translation>T.после КЗ</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Не испыт.</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>Испыт.</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Нет срабат.</translation>
    </message>
    <message>
        <source>测试参数</source>
        <translation>Точки</translation>
    </message>
    <message>
        <source>综合参数</source>
        <translation>Общие</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Добав.</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Очист.</translation>
    </message>
    <message>
        <source>测试项目</source>
        <translation>Испытание</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Знач. сраб.</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Время сраб.</translation>
    </message>
</context>
<context>
    <name>MainWindowContent</name>
    <message>
        <source>电量不足</source>
        <translation>Заряд &lt;</translation>
    </message>
    <message>
        <source>请及时充电</source>
        <translation>зарядите</translation>
    </message>
    <message>
        <source>禁止5A及以上电流输出</source>
        <translation>I ≥ 5A запрещён</translation>
    </message>
    <message>
        <source>禁止2A及以上电流输出</source>
        <translation>I ≥ 2A запрещён</translation>
    </message>
    <message>
        <source>禁止实验</source>
        <translation>испытания запрещены</translation>
    </message>
    <message>
        <source>关闭电池放电</source>
        <translation>разряд откл.</translation>
    </message>
    <message>
        <source>设备未初始化</source>
        <translation>Прибор не инициализирован</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Сообщение</translation>
    </message>
    <message>
        <source>是否退出</source>
        <translation>Выйти</translation>
    </message>
    <message>
        <source>电池电量低于10%，请及时充电！</source>
        <translation>Заряд батареи ниже 10%, зарядите её!</translation>
    </message>
</context>
<context>
    <name>MainWindowPage</name>
    <message>
        <source>交流试验</source>
        <translation>Пер. ток</translation>
    </message>
    <message>
        <source>过流试验</source>
        <translation>МТЗ</translation>
    </message>
    <message>
        <source>状态序列</source>
        <translation>Состоян.</translation>
    </message>
    <message>
        <source>递变试验</source>
        <translation>Рампа</translation>
    </message>
    <message>
        <source>谐波试验</source>
        <translation>Гармон.</translation>
    </message>
    <message>
        <source>距离试验</source>
        <translation>ДЗ</translation>
    </message>
    <message>
        <source>低周减载</source>
        <translation>АЧР</translation>
    </message>
    <message>
        <source>低压减载</source>
        <translation>АОСН</translation>
    </message>
    <message>
        <source>直流试验</source>
        <translation>Пост. ток</translation>
    </message>
    <message>
        <source>震荡模拟</source>
        <translation>Качания</translation>
    </message>
    <message>
        <source>电能表</source>
        <translation>Счётчик</translation>
    </message>
    <message>
        <source>文件管理</source>
        <translation>Файлы</translation>
    </message>
    <message>
        <source>辅助直流</source>
        <translation>Вспом. DC</translation>
    </message>
    <message>
        <source>系统设置</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>联机测试</source>
        <translation>Удалённое упр.</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Сообщение</translation>
    </message>
    <message>
        <source>本设备内置三元锂电池，请使用完后及时关闭电源开关，禁止设备开机状态下装箱存放。设备不可无电存放，会导致电池损坏，建议存放前保持70%以上电量。设备长期不充电会导致电池容量降低甚至电池损坏，我司建议设备至少3个月充电一次。</source>
        <translation>Прибор содержит встроенную литиевую батарею. После работы выключайте питание и не упаковывайте включённый прибор. Хранение с разряженной батареей повреждает её: перед хранением зарядите батарею более чем на 70%. Длительное отсутствие зарядки снижает ёмкость батареи или повреждает её; заряжайте прибор не реже одного раза в 3 месяца.</translation>
    </message>
    <message>
        <source>Output Aux.DC or not?</source>
        <translation>Включить вспом. DC?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Да</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Нет</translation>
    </message>
</context>
<context>
    <name>ModelAlternatePage</name>
    <message>
        <source>额定</source>
        <translation>Ном.</translation>
    </message>
    <message>
        <source>平衡</source>
        <translation>Симм.</translation>
    </message>
    <message>
        <source>正序</source>
        <translation>Прямая</translation>
    </message>
    <message>
        <source>负序</source>
        <translation>Обратная</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Триггер</translation>
    </message>
    <message>
        <source>步长:</source>
        <translation>Шаг:</translation>
    </message>
    <message>
        <source>终值:</source>
        <translation>Конец:</translation>
    </message>
    <message>
        <source>自动时间:</source>
        <translation>Авто</translation>
    </message>
    <message>
        <source>变量选择:</source>
        <translation>Перем.:</translation>
    </message>
    <message>
        <source>测试项目:</source>
        <translation>Величина:</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Амплитуда</translation>
    </message>
    <message>
        <source>相位</source>
        <translation>Фаза</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Частота</translation>
    </message>
    <message>
        <source>变化方式:</source>
        <translation>Режим:</translation>
    </message>
    <message>
        <source>动作停止</source>
        <translation>До срабат.</translation>
    </message>
    <message>
        <source>动作返回</source>
        <translation>Сраб.-возврат</translation>
    </message>
    <message>
        <source>持续输出</source>
        <translation>Непрерывно</translation>
    </message>
    <message>
        <source>故障计算</source>
        <translation>Расчёт</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Знач. сраб.</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Время сраб.</translation>
    </message>
    <message>
        <source>返回系数</source>
        <translation>Коэф. возвр.</translation>
    </message>
</context>
<context>
    <name>ModelDirectPage</name>
    <message>
        <source>额定</source>
        <translation>Ном.</translation>
    </message>
    <message>
        <source>平衡</source>
        <translation>Симм.</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Триггер</translation>
    </message>
    <message>
        <source>步长:</source>
        <translation>Шаг:</translation>
    </message>
    <message>
        <source>终值:</source>
        <translation>Конец:</translation>
    </message>
    <message>
        <source>自动时间:</source>
        <translation>Авто</translation>
    </message>
    <message>
        <source>变量选择:</source>
        <translation>Перем.:</translation>
    </message>
    <message>
        <source>测试项目:</source>
        <translation>Величина:</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Амплитуда</translation>
    </message>
    <message>
        <source>变化方式:</source>
        <translation>Режим:</translation>
    </message>
    <message>
        <source>动作停止</source>
        <translation>До срабат.</translation>
    </message>
    <message>
        <source>动作返回</source>
        <translation>Сраб.-возврат</translation>
    </message>
    <message>
        <source>持续输出</source>
        <translation>Непрерывно</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Знач. сраб.</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Время сраб.</translation>
    </message>
    <message>
        <source>返回系数</source>
        <translation>Коэф. возвр.</translation>
    </message>
</context>
<context>
    <name>ModelDistancePage</name>
    <message>
        <source>反方向</source>
        <translation>Обратное</translation>
    </message>
    <message>
        <source>正方向</source>
        <translation>Прямое</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Нет срабат.</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Не испытано</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>Испытание</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Годен</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Не годен</translation>
    </message>
    <message>
        <source>测试参数</source>
        <translation>Точки</translation>
    </message>
    <message>
        <source>综合参数</source>
        <translation>Общие</translation>
    </message>
    <message>
        <source>时间触发</source>
        <translation>Время/Пуск</translation>
    </message>
    <message>
        <source>角</source>
        <translation>θ</translation>
    </message>
    <message>
        <source>故障类型</source>
        <translation>Вид КЗ</translation>
    </message>
    <message>
        <source>故障方向</source>
        <translation>Напр. КЗ</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>Туст</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Очистить</translation>
    </message>
    <message>
        <source>阻抗倍数</source>
        <translation>Кратн. Z</translation>
    </message>
    <message>
        <source>阻抗值</source>
        <translation>Z</translation>
    </message>
    <message>
        <source>阻抗角</source>
        <translation>Угол Z</translation>
    </message>
    <message>
        <source>偏差</source>
        <translation>Откл.</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Время сраб.</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>ДВ</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>计算模型</source>
        <translation>Модель</translation>
    </message>
    <message>
        <source>电流恒定</source>
        <translation>I пост.</translation>
    </message>
    <message>
        <source>电压恒定</source>
        <translation>U пост.</translation>
    </message>
    <message>
        <source>CT位置</source>
        <translation>Напр. ТТ</translation>
    </message>
    <message>
        <source>指向母线</source>
        <translation>Шины</translation>
    </message>
    <message>
        <source>指向线路</source>
        <translation>Линия</translation>
    </message>
    <message>
        <source>PT位置</source>
        <translation>Напр. ТН</translation>
    </message>
    <message>
        <source>在母线上</source>
        <translation>Шины</translation>
    </message>
    <message>
        <source>在线路上</source>
        <translation>Линия</translation>
    </message>
    <message>
        <source>故障电压</source>
        <translation>U КЗ</translation>
    </message>
    <message>
        <source>故障电流</source>
        <translation>I КЗ</translation>
    </message>
    <message>
        <source>负荷电流</source>
        <translation>I нагр.</translation>
    </message>
    <message>
        <source>负荷相角</source>
        <translation>θ нагр.</translation>
    </message>
    <message>
        <source>零序补偿</source>
        <translation>Компенсация</translation>
    </message>
    <message>
        <source>Z0/Z1幅值</source>
        <translation>Z0/Z1 мод.</translation>
    </message>
    <message>
        <source>KL幅值</source>
        <translation>KL мод.</translation>
    </message>
    <message>
        <source>Z0/Z1角度</source>
        <translation>Z0/Z1 угол</translation>
    </message>
    <message>
        <source>KL角度</source>
        <translation>KL угол</translation>
    </message>
    <message>
        <source>时间绝对误差</source>
        <translation>Абс. допуск</translation>
    </message>
    <message>
        <source>时间相对误差</source>
        <translation>Отн. допуск</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Задано</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Амплитуда</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Угол</translation>
    </message>
    <message>
        <source>故障前时间</source>
        <translation>T.до КЗ</translation>
    </message>
    <message>
        <source>故障后时间</source>
        <translation>T.после КЗ</translation>
    </message>
    <message>
        <source>故障时间 = 最大整定时间  x</source>
        <translation>T.КЗ = макс. Туст  x</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Нет возврата</translation>
    </message>
</context>
<context>
    <name>ModelEnergyPage</name>
    <message>
        <source>ind.</source>
        <translation>инд.</translation>
    </message>
    <message>
        <source>cap.</source>
        <translation>ёмк.</translation>
    </message>
    <message>
        <source>NoTest</source>
        <translation>Не испытано</translation>
    </message>
    <message>
        <source>Testing</source>
        <translation>Испытание</translation>
    </message>
    <message>
        <source>Passed</source>
        <translation>Годен</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Не годен</translation>
    </message>
    <message>
        <source>No Action</source>
        <translation>Нет срабат.</translation>
    </message>
    <message>
        <source>测试参数</source>
        <translation>Точки</translation>
    </message>
    <message>
        <source>综合参数</source>
        <translation>Счётчик</translation>
    </message>
    <message>
        <source>脉冲输出</source>
        <translation>Выход импульсов</translation>
    </message>
    <message>
        <source>Voltage</source>
        <translation>Напр.</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Частота</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>Ток</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Угол</translation>
    </message>
    <message>
        <source>Pulse</source>
        <translation>Импульсы</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Очистить</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>Мощность</translation>
    </message>
    <message>
        <source>Factor</source>
        <translation>Коэфф.</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Задано</translation>
    </message>
    <message>
        <source>Actual</source>
        <translation>Измерено</translation>
    </message>
    <message>
        <source>Dev</source>
        <translation>Погр.</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>Meter type</source>
        <translation>Тип</translation>
    </message>
    <message>
        <source>Active Power</source>
        <translation>Активная</translation>
    </message>
    <message>
        <source>Reactive Power</source>
        <translation>Реактивн.</translation>
    </message>
    <message>
        <source>Apparent Power</source>
        <translation>Полная</translation>
    </message>
    <message>
        <source>3P4W</source>
        <translation>3Ф4П</translation>
    </message>
    <message>
        <source>3P3W</source>
        <translation>3Ф3П</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>1-фаз.</translation>
    </message>
    <message>
        <source>Precision</source>
        <translation>Класс</translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>Энергия</translation>
    </message>
    <message>
        <source>Secondary</source>
        <translation>Вторичн.</translation>
    </message>
    <message>
        <source>Primary</source>
        <translation>Первичн.</translation>
    </message>
    <message>
        <source>Heat time</source>
        <translation>Прогрев</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Пуск</translation>
    </message>
    <message>
        <source>Pulse type</source>
        <translation>Импульс</translation>
    </message>
    <message>
        <source>Rising</source>
        <translation>Фронт</translation>
    </message>
    <message>
        <source>Falling</source>
        <translation>Спад</translation>
    </message>
    <message>
        <source>Pulse Count</source>
        <translation>Имп./об.</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Направл.</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Приём</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Отдача</translation>
    </message>
    <message>
        <source>Import/Export</source>
        <translation>Приём/отдача</translation>
    </message>
    <message>
        <source>Settling time</source>
        <translation>Установл.</translation>
    </message>
    <message>
        <source>Pulse constant</source>
        <translation>Постоянная имп.</translation>
    </message>
    <message>
        <source>Whether to send a local pulse</source>
        <translation>Выдавать свои импульсы</translation>
    </message>
</context>
<context>
    <name>ModelHarmonicPage</name>
    <message>
        <source>未动作</source>
        <translation>Нет срабат.</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Не испытано</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>Испытание</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Годен</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Не годен</translation>
    </message>
    <message>
        <source>上一波次</source>
        <translation>Пред.</translation>
    </message>
    <message>
        <source>谐波次数:</source>
        <translation>Гармоника:</translation>
    </message>
    <message>
        <source>后一波次</source>
        <translation>След.</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Триггер</translation>
    </message>
    <message>
        <source>步长:</source>
        <translation>Шаг:</translation>
    </message>
    <message>
        <source>终值:</source>
        <translation>Конец:</translation>
    </message>
    <message>
        <source>自动时间:</source>
        <translation>Авто</translation>
    </message>
    <message>
        <source>整定时间:</source>
        <translation>Туст:</translation>
    </message>
    <message>
        <source>偏差:</source>
        <translation>Откл.:</translation>
    </message>
    <message>
        <source>变量选择:</source>
        <translation>Перем.:</translation>
    </message>
    <message>
        <source>测试项目:</source>
        <translation>Величина:</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Ампл.</translation>
    </message>
    <message>
        <source>相位</source>
        <translation>Фаза</translation>
    </message>
    <message>
        <source>动作停止</source>
        <translation>До срабат.</translation>
    </message>
    <message>
        <source>谐波含量:</source>
        <translation>THD:</translation>
    </message>
    <message>
        <source>AMP</source>
        <translation>Амплитуда</translation>
    </message>
    <message>
        <source>百分比</source>
        <translation>Процент</translation>
    </message>
    <message>
        <source>测试结果</source>
        <translation>Результат испытания</translation>
    </message>
    <message>
        <source>变量</source>
        <translation>Величина</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Знач. сраб.</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Время сраб.</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>ДВ</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Результат</translation>
    </message>
</context>
<context>
    <name>ModelOscillatePage</name>
    <message>
        <source>额定</source>
        <translation>Ном.</translation>
    </message>
    <message>
        <source>平衡</source>
        <translation>Симм.</translation>
    </message>
    <message>
        <source>正序</source>
        <translation>Прямая</translation>
    </message>
    <message>
        <source>负序</source>
        <translation>Обратная</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Триггер</translation>
    </message>
    <message>
        <source>百分比</source>
        <translation>Процент</translation>
    </message>
    <message>
        <source>相角</source>
        <translation>Угол</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Частота</translation>
    </message>
    <message>
        <source>变量选择:</source>
        <translation>Перем.:</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Знач. сраб.</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Время сраб.</translation>
    </message>
</context>
<context>
    <name>ModelOvercurrentPage</name>
    <message>
        <source>未动作</source>
        <translation>Нет срабат.</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Не испытано</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>Испытание</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Годен</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Не годен</translation>
    </message>
    <message>
        <source>测试参数</source>
        <translation>Испытание</translation>
    </message>
    <message>
        <source>综合参数</source>
        <translation>Общие</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Триггер</translation>
    </message>
    <message>
        <source>曲线图</source>
        <translation>Кривая</translation>
    </message>
    <message>
        <source>Inst. Overcurrent</source>
        <translation>МТО</translation>
    </message>
    <message>
        <source>Pick-up</source>
        <translation>Уставка</translation>
    </message>
    <message>
        <source>Dial Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>Function</source>
        <translation>Функция</translation>
    </message>
    <message>
        <source>Fault-Type</source>
        <translation>Вид КЗ</translation>
    </message>
    <message>
        <source>Time Overcurrent</source>
        <translation>МТЗ</translation>
    </message>
    <message>
        <source>I test</source>
        <translation>I исп.</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <source>Multi</source>
        <translation>Серия</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Очистить</translation>
    </message>
    <message>
        <source>Current Tol</source>
        <translation>Допуск I</translation>
    </message>
    <message>
        <source>电流允许绝对偏差</source>
        <translation>Абс. допуск I</translation>
    </message>
    <message>
        <source>Max Fault Time</source>
        <translation>Макс. T КЗ</translation>
    </message>
    <message>
        <source>Time Tol</source>
        <translation>Допуск T</translation>
    </message>
    <message>
        <source>时间允许绝对偏差</source>
        <translation>Абс. допуск T</translation>
    </message>
    <message>
        <source>辅助故障电压</source>
        <translation>Доп. U КЗ</translation>
    </message>
    <message>
        <source>故障前时间:</source>
        <translation>T.доав.:</translation>
    </message>
    <message>
        <source>间隔时间:</source>
        <translation>T.пауз.:</translation>
    </message>
    <message>
        <source>Fault VPN</source>
        <translation>U КЗ</translation>
    </message>
    <message>
        <source>仅输出一次</source>
        <translation>Однократно</translation>
    </message>
    <message>
        <source>I-Angle</source>
        <translation>Угол I</translation>
    </message>
    <message>
        <source>故障类型</source>
        <translation>Вид КЗ</translation>
    </message>
    <message>
        <source>绝对值</source>
        <translation>Значение</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>Туст</translation>
    </message>
    <message>
        <source>最小时间</source>
        <translation>Tмин</translation>
    </message>
    <message>
        <source>最大时间</source>
        <translation>Tмакс</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Время сраб.</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>ДВ</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Нет возврата</translation>
    </message>
    <message>
        <source>Curve</source>
        <translation>Кривая</translation>
    </message>
</context>
<context>
    <name>ModelRampingPage</name>
    <message>
        <source>未测试</source>
        <translation>Не испытано</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>Испытание</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Годен</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Не годен</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>Туст</translation>
    </message>
    <message>
        <source>偏差</source>
        <translation>Откл.</translation>
    </message>
    <message>
        <source>电压</source>
        <translation>Напряжение</translation>
    </message>
    <message>
        <source>电流</source>
        <translation>Ток</translation>
    </message>
    <message>
        <source>额定</source>
        <translation>Ном.</translation>
    </message>
    <message>
        <source>平衡</source>
        <translation>Симм.</translation>
    </message>
    <message>
        <source>正序</source>
        <translation>Прямая</translation>
    </message>
    <message>
        <source>负序</source>
        <translation>Обратная</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Триггер</translation>
    </message>
    <message>
        <source>步长:</source>
        <translation>Шаг:</translation>
    </message>
    <message>
        <source>终值:</source>
        <translation>Конец:</translation>
    </message>
    <message>
        <source>步长时间:</source>
        <translation>Время:</translation>
    </message>
    <message>
        <source>变量选择:</source>
        <translation>Перем.:</translation>
    </message>
    <message>
        <source>测试项目:</source>
        <translation>Велич.:</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Ампл.</translation>
    </message>
    <message>
        <source>相位</source>
        <translation>Фаза</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Част.</translation>
    </message>
    <message>
        <source>功能:</source>
        <translation>Функция:</translation>
    </message>
    <message>
        <source>输出方式:</source>
        <translation>Угол:</translation>
    </message>
    <message>
        <source>连续</source>
        <translation>Непрер.</translation>
    </message>
    <message>
        <source>Abs.Angle</source>
        <translation>Абс.угол</translation>
    </message>
    <message>
        <source>故障前时间:</source>
        <translation>T.доав.:</translation>
    </message>
    <message>
        <source>间隔时间:</source>
        <translation>T.пауз.:</translation>
    </message>
    <message>
        <source>仅输出一次</source>
        <translation>Однократно</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>测试结果</source>
        <translation>Результат испытания</translation>
    </message>
    <message>
        <source>变量</source>
        <translation>Величина</translation>
    </message>
    <message>
        <source>功能</source>
        <translation>Функция</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Время сраб.</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Знач. сраб.</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>ДВ</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Нет возврата</translation>
    </message>
</context>
<context>
    <name>ModelSettingsPage</name>
    <message>
        <source>系统配置</source>
        <translation>Система</translation>
    </message>
    <message>
        <source>硬件配置</source>
        <translation>Оборудование</translation>
    </message>
    <message>
        <source>电池配置</source>
        <translation>Батарея</translation>
    </message>
    <message>
        <source>对时设置</source>
        <translation>Синхронизация</translation>
    </message>
    <message>
        <source>输出校准</source>
        <translation>Калибровка</translation>
    </message>
    <message>
        <source>额定电压:</source>
        <translation>Uном:</translation>
    </message>
    <message>
        <source>额定电流:</source>
        <translation>Iном:</translation>
    </message>
    <message>
        <source>额定频率:</source>
        <translation>fном:</translation>
    </message>
    <message>
        <source>防抖时间:</source>
        <translation>Дребезг:</translation>
    </message>
    <message>
        <source>屏保时间</source>
        <translation>Экран</translation>
    </message>
    <message>
        <source>系统时间:</source>
        <translation>Время:</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Уст.</translation>
    </message>
    <message>
        <source>系统语言:</source>
        <translation>Язык:</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>Китайский</translation>
    </message>
    <message>
        <source>英文</source>
        <translation>Английский</translation>
    </message>
    <message>
        <source>葡萄牙文</source>
        <translation>Португальский</translation>
    </message>
    <message>
        <source>输出方式</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>功放输出</source>
        <translation>Усилитель</translation>
    </message>
    <message>
        <source>小信号</source>
        <translation>Слаботочный</translation>
    </message>
    <message>
        <source>按键音</source>
        <translation>Звук клавиш</translation>
    </message>
    <message>
        <source>系统主题:</source>
        <translation>Тема:</translation>
    </message>
    <message>
        <source>系统默认</source>
        <translation>Стд.</translation>
    </message>
    <message>
        <source>黑色高亮</source>
        <translation>Тёмная</translation>
    </message>
    <message>
        <source>机器型号:</source>
        <translation>Тип:</translation>
    </message>
    <message>
        <source>软件版本:</source>
        <translation>ПО:</translation>
    </message>
    <message>
        <source>机器编号:</source>
        <translation>№:</translation>
    </message>
    <message>
        <source>固件版本:</source>
        <translation>ПЛИС:</translation>
    </message>
    <message>
        <source>软件升级</source>
        <translation>Обновление</translation>
    </message>
    <message>
        <source>请输入密码...</source>
        <translation>Введите пароль...</translation>
    </message>
    <message>
        <source>请重新输入密码...</source>
        <translation>Повторите пароль...</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Сообщение</translation>
    </message>
    <message>
        <source>是否需要切换系统语言？</source>
        <translation>Сменить язык системы?</translation>
    </message>
</context>
<context>
    <name>ModelSlipFrequencyPage</name>
    <message>
        <source>频率始值</source>
        <translation>f нач.</translation>
    </message>
    <message>
        <source>频率终值</source>
        <translation>f кон.</translation>
    </message>
    <message>
        <source>频率滑差</source>
        <translation>df/dt</translation>
    </message>
    <message>
        <source>动作频率</source>
        <translation>Частота сраб.</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Время сраб.</translation>
    </message>
    <message>
        <source>低流闭锁</source>
        <translation>Блок. мин. I</translation>
    </message>
    <message>
        <source>电压闭锁</source>
        <translation>Блок. по U</translation>
    </message>
    <message>
        <source>频率步长</source>
        <translation>Шаг f</translation>
    </message>
    <message>
        <source>计时频率</source>
        <translation>f отсчёта</translation>
    </message>
    <message>
        <source>滑差始值</source>
        <translation>Скор. нач.</translation>
    </message>
    <message>
        <source>滑差终值</source>
        <translation>Скор. кон.</translation>
    </message>
    <message>
        <source>滑差步长</source>
        <translation>Шаг скор.</translation>
    </message>
    <message>
        <source>电流始值</source>
        <translation>I нач.</translation>
    </message>
    <message>
        <source>电流终值</source>
        <translation>I кон.</translation>
    </message>
    <message>
        <source>电流步长</source>
        <translation>Шаг I</translation>
    </message>
    <message>
        <source>电压始值</source>
        <translation>U нач.</translation>
    </message>
    <message>
        <source>电压终值</source>
        <translation>U кон.</translation>
    </message>
    <message>
        <source>电压步长</source>
        <translation>Шаг U</translation>
    </message>
</context>
<context>
    <name>ModelSlipVoltagePage</name>
    <message>
        <source>电压滑差</source>
        <translation>dU/dt</translation>
    </message>
    <message>
        <source>动作电压</source>
        <translation>Напр. сраб.</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Время сраб.</translation>
    </message>
    <message>
        <source>低流闭锁</source>
        <translation>Блок. мин. I</translation>
    </message>
    <message>
        <source>电压始值</source>
        <translation>U нач.</translation>
    </message>
    <message>
        <source>电压终值</source>
        <translation>U кон.</translation>
    </message>
    <message>
        <source>电压步长</source>
        <translation>Шаг U</translation>
    </message>
    <message>
        <source>计时电压</source>
        <translation>U отсчёта</translation>
    </message>
    <message>
        <source>滑差始值</source>
        <translation>Скор. нач.</translation>
    </message>
    <message>
        <source>滑差终值</source>
        <translation>Скор. кон.</translation>
    </message>
    <message>
        <source>滑差步长</source>
        <translation>Шаг скор.</translation>
    </message>
    <message>
        <source>电流始值</source>
        <translation>I нач.</translation>
    </message>
    <message>
        <source>电流终值</source>
        <translation>I кон.</translation>
    </message>
    <message>
        <source>电流步长</source>
        <translation>Шаг I</translation>
    </message>
</context>
<context>
    <name>ModelStateSequencePage</name>
    <message>
        <source>状态</source>
        <translation>Сост.</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>Испытание</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Нет срабат.</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Не испытано</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Годен</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Не годен</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>ДВ</translation>
    </message>
    <message>
        <source>开出</source>
        <translation>ДВых</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Пуск</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>Туст</translation>
    </message>
    <message>
        <source>偏差</source>
        <translation>Откл.</translation>
    </message>
    <message>
        <source>上一状态</source>
        <translation>Пред.</translation>
    </message>
    <message>
        <source>后一状态</source>
        <translation>След.</translation>
    </message>
    <message>
        <source>插入状态</source>
        <translation>Встав.</translation>
    </message>
    <message>
        <source>添加状态</source>
        <translation>Добав.</translation>
    </message>
    <message>
        <source>删除状态</source>
        <translation>Удал.</translation>
    </message>
    <message>
        <source>电压</source>
        <translation>Напряжение</translation>
    </message>
    <message>
        <source>电流</source>
        <translation>Ток</translation>
    </message>
    <message>
        <source>额定</source>
        <translation>Ном.</translation>
    </message>
    <message>
        <source>平衡</source>
        <translation>Симм.</translation>
    </message>
    <message>
        <source>正序</source>
        <translation>Прямая</translation>
    </message>
    <message>
        <source>负序</source>
        <translation>Обратная</translation>
    </message>
    <message>
        <source>触发方式:</source>
        <translation>Сраб.:</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>接点</source>
        <translation>Дискр.</translation>
    </message>
    <message>
        <source>时间+接点</source>
        <translation>Время+Дискр.</translation>
    </message>
    <message>
        <source>故障计算</source>
        <translation>Расчёт</translation>
    </message>
    <message>
        <source>输出方式:</source>
        <translation>Угол:</translation>
    </message>
    <message>
        <source>连续</source>
        <translation>Непрер.</translation>
    </message>
    <message>
        <source>Abs.Angle</source>
        <translation>Абс.угол</translation>
    </message>
    <message>
        <source>时间:</source>
        <translation>Время:</translation>
    </message>
    <message>
        <source>时间设置</source>
        <translation>Запуск</translation>
    </message>
    <message>
        <source>逻辑:</source>
        <translation>Логика:</translation>
    </message>
    <message>
        <source>与</source>
        <translation>И</translation>
    </message>
    <message>
        <source>或</source>
        <translation>ИЛИ</translation>
    </message>
    <message>
        <source>开入:</source>
        <translation>ДВ:</translation>
    </message>
    <message>
        <source>开出:</source>
        <translation>ДВых:</translation>
    </message>
    <message>
        <source>测试结果</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>评估结果</source>
        <translation>Оценка</translation>
    </message>
    <message>
        <source>事件记录</source>
        <translation>События</translation>
    </message>
    <message>
        <source>开入量1</source>
        <translation>ДВ 1</translation>
    </message>
    <message>
        <source>开入量2</source>
        <translation>ДВ 2</translation>
    </message>
    <message>
        <source>开入量3</source>
        <translation>ДВ 3</translation>
    </message>
    <message>
        <source>开入量4</source>
        <translation>ДВ 4</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Очистить</translation>
    </message>
    <message>
        <source>实际时间</source>
        <translation>Тфакт</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Тип</translation>
    </message>
    <message>
        <source>信号</source>
        <translation>Сигнал</translation>
    </message>
    <message>
        <source>状态变换</source>
        <translation>Переход</translation>
    </message>
</context>
<context>
    <name>ModelStdSourcePage</name>
    <message>
        <source>单项有功功率</source>
        <translation>Активная мощность, 1 фаза</translation>
    </message>
    <message>
        <source>三相四线(Y型接法)有功功率</source>
        <translation>3 фазы 4 провода (Y), активная мощность</translation>
    </message>
    <message>
        <source>三相三线(V型接法)有功功率</source>
        <translation>3 фазы 3 провода (V), активная мощность</translation>
    </message>
    <message>
        <source>三相三线(△型接法)有功功率</source>
        <translation>3 фазы 3 провода (Δ), активная мощность</translation>
    </message>
    <message>
        <source>三相四线(Y型接法)真无功功率</source>
        <translation>3 фазы 4 провода (Y), истинная реакт. мощность</translation>
    </message>
    <message>
        <source>三相三线(V型接法)真无功功率</source>
        <translation>3 фазы 3 провода (V), истинная реакт. мощность</translation>
    </message>
    <message>
        <source>三相三线(△型接法)真无功功率</source>
        <translation>3 фазы 3 провода (Δ), истинная реакт. мощность</translation>
    </message>
    <message>
        <source>三元件90°无功功率</source>
        <translation>3 элемента 90°, реактивная мощность</translation>
    </message>
    <message>
        <source>二元件90°无功功率</source>
        <translation>2 элемента 90°, реактивная мощность</translation>
    </message>
    <message>
        <source>分元无效</source>
        <translation>Не применимо</translation>
    </message>
    <message>
        <source>三元件</source>
        <translation>3 элемента</translation>
    </message>
    <message>
        <source>A元件</source>
        <translation>Элемент A</translation>
    </message>
    <message>
        <source>B元件</source>
        <translation>Элемент B</translation>
    </message>
    <message>
        <source>C元件</source>
        <translation>Элемент C</translation>
    </message>
    <message>
        <source>二元件</source>
        <translation>2 элемента</translation>
    </message>
    <message>
        <source>工作方式</source>
        <translation>Режим работы</translation>
    </message>
    <message>
        <source>功率因数</source>
        <translation>Коэф. мощности</translation>
    </message>
    <message>
        <source>功率相角</source>
        <translation>Угол мощности</translation>
    </message>
    <message>
        <source>分元选择</source>
        <translation>Элемент</translation>
    </message>
    <message>
        <source>电压幅值</source>
        <translation>Напряжение</translation>
    </message>
    <message>
        <source>电流幅值</source>
        <translation>Ток</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Частота</translation>
    </message>
    <message>
        <source>有功功率</source>
        <translation>P акт.</translation>
    </message>
    <message>
        <source>无功功率</source>
        <translation>Q реакт.</translation>
    </message>
    <message>
        <source>视在功率</source>
        <translation>S полн.</translation>
    </message>
</context>
<context>
    <name>ModelSystemCalPage</name>
    <message>
        <source>小信号</source>
        <translation>Слаботочный</translation>
    </message>
    <message>
        <source>功放</source>
        <translation>Усилитель</translation>
    </message>
    <message>
        <source>零偏</source>
        <translation>Смещение</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Амплитуда</translation>
    </message>
    <message>
        <source>直流幅值</source>
        <translation>Ампл. DC</translation>
    </message>
    <message>
        <source>交流零偏</source>
        <translation>Смещ. AC</translation>
    </message>
    <message>
        <source>交流幅值</source>
        <translation>Ампл. AC</translation>
    </message>
    <message>
        <source>交流相位</source>
        <translation>Фаза AC</translation>
    </message>
    <message>
        <source>交流频率</source>
        <translation>Част. AC</translation>
    </message>
    <message>
        <source>幅频特性</source>
        <translation>АЧХ</translation>
    </message>
    <message>
        <source>辅助直流</source>
        <translation>Всп. DC</translation>
    </message>
    <message>
        <source>是否需要保存校准系数？</source>
        <translation>Сохранить калибровочные коэффициенты?</translation>
    </message>
    <message>
        <source>导出系数</source>
        <translation>Экспорт</translation>
    </message>
    <message>
        <source>导入系数</source>
        <translation>Импорт</translation>
    </message>
    <message>
        <source>校准系数导出成功!</source>
        <translation>Коэффициенты экспортированы!</translation>
    </message>
    <message>
        <source>没有可导出校准系数文件!</source>
        <translation>Нет файлов коэффициентов для экспорта!</translation>
    </message>
    <message>
        <source>校准系数导入成功!</source>
        <translation>Коэффициенты импортированы!</translation>
    </message>
    <message>
        <source>没有可导入校准系数文件!</source>
        <translation>Нет файлов коэффициентов для импорта!</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Пуск</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>加载</source>
        <translation>Загруз.</translation>
    </message>
    <message>
        <source>删除选中</source>
        <translation>Очистить</translation>
    </message>
    <message>
        <source>删除全部</source>
        <translation>Сброс</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Закрыть</translation>
    </message>
</context>
<context>
    <name>ModelSystemCfgPage</name>
    <message>
        <source>机器型号:</source>
        <translation>Тип:</translation>
    </message>
    <message>
        <source>机器编号:</source>
        <translation>№:</translation>
    </message>
    <message>
        <source>保护温度:</source>
        <translation>Tмакс:</translation>
    </message>
    <message>
        <source>恢复温度:</source>
        <translation>Tвозвр:</translation>
    </message>
    <message>
        <source>最大输出电压:</source>
        <translation>Uмакс:</translation>
    </message>
    <message>
        <source>电压档位:</source>
        <translation>Диапазон U:</translation>
    </message>
    <message>
        <source>最大输出电流:</source>
        <translation>Iмакс:</translation>
    </message>
    <message>
        <source>电流档位:</source>
        <translation>Диапазон I:</translation>
    </message>
    <message>
        <source>电压功放相数:</source>
        <translation>Фазы U:</translation>
    </message>
    <message>
        <source>电流功放相数:</source>
        <translation>Фазы I:</translation>
    </message>
    <message>
        <source>功放类型</source>
        <translation>Тип усил.</translation>
    </message>
    <message>
        <source>模拟功放</source>
        <translation>Аналоговый</translation>
    </message>
    <message>
        <source>数字功放</source>
        <translation>Цифровой</translation>
    </message>
    <message>
        <source>AuxDC Type</source>
        <translation>Тип всп. DC</translation>
    </message>
    <message>
        <source>Constant</source>
        <translation>Фикс.</translation>
    </message>
    <message>
        <source>Adjustable</source>
        <translation>Регул.</translation>
    </message>
    <message>
        <source>AuxDC Max</source>
        <translation>Uмакс DC</translation>
    </message>
    <message>
        <source>AuxDC Enable</source>
        <translation>Всп. DC вкл.</translation>
    </message>
    <message>
        <source>电池配置</source>
        <translation>Батарея</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Закрыть</translation>
    </message>
</context>
<context>
    <name>ModelSystemTimeSynPage</name>
    <message>
        <source>时钟源</source>
        <translation>Источник</translation>
    </message>
    <message>
        <source>GPS</source>
        <translation>GPS</translation>
    </message>
    <message>
        <source>B码</source>
        <translation>IRIG-B</translation>
    </message>
    <message>
        <source>时区</source>
        <translation>Пояс</translation>
    </message>
    <message>
        <source>自动调整夏令时</source>
        <translation>Авто летнее время</translation>
    </message>
    <message>
        <source>外部触发输入</source>
        <translation>Вход внеш. запуска</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Тип</translation>
    </message>
    <message>
        <source>对时脉冲</source>
        <translation>Синхр.</translation>
    </message>
    <message>
        <source>外部脉冲</source>
        <translation>Внешний</translation>
    </message>
    <message>
        <source>方式</source>
        <translation>Вид</translation>
    </message>
    <message>
        <source>下降沿</source>
        <translation>Спад</translation>
    </message>
    <message>
        <source>上升沿</source>
        <translation>Рост</translation>
    </message>
    <message>
        <source>外部触发输出</source>
        <translation>Выход внеш. запуска</translation>
    </message>
    <message>
        <source>秒脉冲</source>
        <translation>PPS</translation>
    </message>
    <message>
        <source>分脉冲</source>
        <translation>PPM</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Применить</translation>
    </message>
    <message>
        <source>时区列表无法读取：不显示时区，时钟不按时区偏移。</source>
        <translation>Список часовых поясов не прочитан: пояс не показан, часы без смещения пояса.</translation>
    </message>
</context>
<context>
    <name>ModelUartBatCfgPage</name>
    <message>
        <source>总电压:</source>
        <translation>Uобщ:</translation>
    </message>
    <message>
        <source>平均电压:</source>
        <translation>Uср:</translation>
    </message>
    <message>
        <source>最高电压:</source>
        <translation>Uмакс:</translation>
    </message>
    <message>
        <source>最低电压:</source>
        <translation>Uмин:</translation>
    </message>
    <message>
        <source>压差:</source>
        <translation>ΔU:</translation>
    </message>
    <message>
        <source>电流:</source>
        <translation>Ток:</translation>
    </message>
    <message>
        <source>标称容量:</source>
        <translation>Ёмкость:</translation>
    </message>
    <message>
        <source>剩余容量:</source>
        <translation>Остаток:</translation>
    </message>
    <message>
        <source>循环次数:</source>
        <translation>Циклы:</translation>
    </message>
    <message>
        <source>软件版本:</source>
        <translation>ПО:</translation>
    </message>
    <message>
        <source>保护状态:</source>
        <translation>Защита:</translation>
    </message>
    <message>
        <source>MOS状态:</source>
        <translation>MOS:</translation>
    </message>
    <message>
        <source>ContinueT</source>
        <translation>Длит.</translation>
    </message>
    <message>
        <source>Battery Type</source>
        <translation>Тип батареи</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>Батарея</translation>
    </message>
    <message>
        <source>激活充电</source>
        <translation>Включить заряд</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Сообщение</translation>
    </message>
    <message>
        <source>是否需要激活充电？</source>
        <translation>Включить заряд?</translation>
    </message>
</context>
<context>
    <name>ModuleFileDialog</name>
    <message>
        <source>参数文件已存在, 确定要覆盖文件?</source>
        <translation>Файл уже существует. Перезаписать?</translation>
    </message>
    <message>
        <source>保存参数成功！</source>
        <translation>Параметры сохранены!</translation>
    </message>
    <message>
        <source>保存参数失败！</source>
        <translation>Ошибка сохранения параметров!</translation>
    </message>
    <message>
        <source>报告文件已存在, 确定要覆盖文件?</source>
        <translation>Файл уже существует. Перезаписать?</translation>
    </message>
    <message>
        <source>保存报告成功！</source>
        <translation>Отчёт сохранён!</translation>
    </message>
    <message>
        <source>保存报告失败！</source>
        <translation>Ошибка сохранения отчёта!</translation>
    </message>
    <message>
        <source>导入参数成功！</source>
        <translation>Параметры загружены!</translation>
    </message>
    <message>
        <source>导入参数失败！</source>
        <translation>Ошибка загрузки параметров!</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Сообщение</translation>
    </message>
</context>
<context>
    <name>PageBottomBar</name>
    <message>
        <source>开始</source>
        <translation>Пуск</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>开入:</source>
        <translation>ДВ:</translation>
    </message>
    <message>
        <source>开出:</source>
        <translation>ДВых:</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
</context>
<context>
    <name>PageMessageDialog</name>
    <message>
        <source>系统提示</source>
        <translation>Сообщение</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>PageTriggerPanel</name>
    <message>
        <source>逻辑:</source>
        <translation>Логика:</translation>
    </message>
    <message>
        <source>与</source>
        <translation>И</translation>
    </message>
    <message>
        <source>或</source>
        <translation>ИЛИ</translation>
    </message>
    <message>
        <source>开入:</source>
        <translation>ДВ:</translation>
    </message>
    <message>
        <source>开出:</source>
        <translation>ДВых:</translation>
    </message>
</context>
<context>
    <name>ParameterFileFlow</name>
    <message>
        <source>参数文件已存在, 确定要覆盖文件?</source>
        <translation>Файл уже существует. Перезаписать?</translation>
    </message>
    <message>
        <source>保存参数成功！</source>
        <translation>Параметры сохранены!</translation>
    </message>
    <message>
        <source>保存参数失败！</source>
        <translation>Ошибка сохранения параметров!</translation>
    </message>
    <message>
        <source>报告文件已存在, 确定要覆盖文件?</source>
        <translation>Файл уже существует. Перезаписать?</translation>
    </message>
    <message>
        <source>保存报告成功！</source>
        <translation>Отчёт сохранён!</translation>
    </message>
    <message>
        <source>保存报告失败！</source>
        <translation>Ошибка сохранения отчёта!</translation>
    </message>
    <message>
        <source>导入参数成功！</source>
        <translation>Параметры загружены!</translation>
    </message>
    <message>
        <source>导入参数失败！</source>
        <translation>Ошибка загрузки параметров!</translation>
    </message>
</context>
<context>
    <name>PointResultList</name>
    <message>
        <source>测试结果</source>
        <translation>Результат испытания</translation>
    </message>
</context>
<context>
    <name>UpgradeDialog</name>
    <message>
        <source>文件已找到,请核对版本号!点击确定开始升级！</source>
        <translation>Файл найден, проверьте версию! Нажмите ОК для обновления!</translation>
    </message>
    <message>
        <source>升级文件不存在！请重新插入U盘。</source>
        <translation>Файл обновления не найден! Вставьте USB-накопитель снова.</translation>
    </message>
    <message>
        <source>升级失败！请联系技术支持。</source>
        <translation>Ошибка обновления! Обратитесь в техподдержку.</translation>
    </message>
    <message>
        <source>正在升级!升级完成自动重启。</source>
        <translation>Обновление! По завершении прибор перезапустится.</translation>
    </message>
</context>
<context>
    <name>UserAuxDCDialog</name>
    <message>
        <source>辅助直流输出设置</source>
        <translation>Выход вспом. DC</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Откл.</translation>
    </message>
</context>
<context>
    <name>UserDialogFrame</name>
    <message>
        <source>确定</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>UserExportCalDialog</name>
    <message>
        <source>导出校准系数</source>
        <translation>Экспорт коэффициентов</translation>
    </message>
    <message>
        <source>小信号</source>
        <translation>Слаботоч.</translation>
    </message>
    <message>
        <source>电压功放</source>
        <translation>Усил. U</translation>
    </message>
    <message>
        <source>电流功放</source>
        <translation>Усил. I</translation>
    </message>
    <message>
        <source>备份文件夹：</source>
        <translation>Папка копии:</translation>
    </message>
    <message>
        <source>U盘不存在！</source>
        <translation>Нет USB-диска!</translation>
    </message>
</context>
<context>
    <name>UserInputDialog</name>
    <message>
        <source>请输入</source>
        <translation>Введите</translation>
    </message>
</context>
<context>
    <name>UserMultiDialog</name>
    <message>
        <source>添加多点</source>
        <translation>Добавить точки</translation>
    </message>
    <message>
        <source>Begin</source>
        <translation>Начало</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Конец</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Шаг</translation>
    </message>
</context>
<context>
    <name>UserPasswordDialog</name>
    <message>
        <source>请输入密码...</source>
        <translation>Введите пароль...</translation>
    </message>
</context>
<context>
    <name>UserReportDialog</name>
    <message>
        <source>保存或导出报告。</source>
        <translation>Сохранить или экспортировать отчёт.</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Сохранить</translation>
    </message>
</context>
<context>
    <name>UserReportParmDialog</name>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>报告</source>
        <translation>Отчёт</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>从文件配置参数</source>
        <translation>Загрузить</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>Имя файла</translation>
    </message>
</context>
<context>
    <name>UserSelectedDialog</name>
    <message>
        <source>请选择</source>
        <translation>Выберите</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Состояние</translation>
    </message>
</context>
<context>
    <name>UserTriggerTimeDialog</name>
    <message>
        <source>触发时间设置</source>
        <translation>Время запуска</translation>
    </message>
    <message>
        <source>时间列表</source>
        <translation>Список времени</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>№</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>开始时间</source>
        <translation>Начало</translation>
    </message>
    <message>
        <source>时间间隔</source>
        <translation>Интервал</translation>
    </message>
    <message>
        <source>个数</source>
        <translation>Кол-во</translation>
    </message>
    <message>
        <source>添加时间点</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <source>删除时间点</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>清除时间点</source>
        <translation>Очистить</translation>
    </message>
</context>
<context>
    <name>UserUpgradeDialog</name>
    <message>
        <source>升级文件:</source>
        <translation>Файл обновления:</translation>
    </message>
    <message>
        <source>软件升级</source>
        <translation>Обновление</translation>
    </message>
</context>
<context>
    <name>ViewAlternateModel</name>
    <message>
        <source>故障无法计算，输出值未改变：请检查短路阻抗和计算模型。</source>
        <translation>КЗ не рассчитано, выходы не изменены: проверьте сопротивление КЗ и модель расчёта.</translation>
    </message>
    <message>
        <source>Variable port</source>
        <translation>Изменяемая фаза</translation>
    </message>
    <message>
        <source>Action value</source>
        <translation>Значение срабат.</translation>
    </message>
    <message>
        <source>Return value</source>
        <translation>Значение возврата</translation>
    </message>
    <message>
        <source>Return Coefficient</source>
        <translation>Коэф. возврата</translation>
    </message>
    <message>
        <source>Action time</source>
        <translation>Время срабат.</translation>
    </message>
    <message>
        <source>Return time</source>
        <translation>Время возврата</translation>
    </message>
</context>
<context>
    <name>ViewBaseModel</name>
    <message>
        <source>电压高压引入告警</source>
        <translation>Авария: внешнее ВН на выходах U</translation>
    </message>
    <message>
        <source>小信号高压引入告警</source>
        <translation>Авария: внешнее ВН на слаботочных выходах</translation>
    </message>
    <message>
        <source>电压短路告警</source>
        <translation>Авария: КЗ выхода напряжения</translation>
    </message>
    <message>
        <source>功放高温告警</source>
        <translation>Авария: перегрев усилителя</translation>
    </message>
    <message>
        <source>电流IA开路告警</source>
        <translation>Авария: обрыв цепи IA</translation>
    </message>
    <message>
        <source>电流IB开路告警</source>
        <translation>Авария: обрыв цепи IB</translation>
    </message>
    <message>
        <source>电流IC开路告警</source>
        <translation>Авария: обрыв цепи IC</translation>
    </message>
    <message>
        <source>电流IX开路告警</source>
        <translation>Авария: обрыв цепи IX</translation>
    </message>
    <message>
        <source>内部存储较低</source>
        <translation>Мало внутренней памяти</translation>
    </message>
    <message>
        <source>电压功放</source>
        <translation>Усил. U</translation>
    </message>
    <message>
        <source>电流功放</source>
        <translation>Усил. I</translation>
    </message>
    <message>
        <source>充电开/</source>
        <translation>Заряд вкл./</translation>
    </message>
    <message>
        <source>充电关/</source>
        <translation>Заряд откл./</translation>
    </message>
    <message>
        <source>放电开</source>
        <translation>Разряд вкл.</translation>
    </message>
    <message>
        <source>放电关</source>
        <translation>Разряд откл.</translation>
    </message>
    <message>
        <source>AC Test</source>
        <translation>Испытание на переменном токе</translation>
    </message>
    <message>
        <source>Harmonic Test</source>
        <translation>Испытание гармониками</translation>
    </message>
    <message>
        <source>State Sequence</source>
        <translation>Последовательность состояний</translation>
    </message>
    <message>
        <source>Distance Test</source>
        <translation>Испытание дистанционной защиты</translation>
    </message>
    <message>
        <source>Ramping Test</source>
        <translation>Испытание плавным изменением</translation>
    </message>
    <message>
        <source>Overcurrent Test</source>
        <translation>Испытание МТЗ</translation>
    </message>
    <message>
        <source>DC Test</source>
        <translation>Испытание на постоянном токе</translation>
    </message>
    <message>
        <source>Energy Test</source>
        <translation>Поверка счётчика энергии</translation>
    </message>
    <message>
        <source>Slip Frequency</source>
        <translation>АЧР</translation>
    </message>
    <message>
        <source>Slip Voltage</source>
        <translation>Разгрузка по напряжению</translation>
    </message>
    <message>
        <source>Oscillate Test</source>
        <translation>Качания мощности</translation>
    </message>
    <message>
        <source>Standard Source</source>
        <translation>Эталонный источник</translation>
    </message>
    <message>
        <source>Test Report</source>
        <translation>Протокол испытаний</translation>
    </message>
    <message>
        <source>Customer</source>
        <translation>Заказчик</translation>
    </message>
    <message>
        <source>PO No</source>
        <translation>№ заказа</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Адрес</translation>
    </message>
    <message>
        <source>Contact No</source>
        <translation>Телефон</translation>
    </message>
    <message>
        <source>Test Module</source>
        <translation>Модуль испытания</translation>
    </message>
    <message>
        <source>Test item</source>
        <translation>Испытание</translation>
    </message>
    <message>
        <source>Test time</source>
        <translation>Время испытания</translation>
    </message>
    <message>
        <source>Device Under Test</source>
        <translation>Испытуемое устройство</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Модель</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Тип</translation>
    </message>
    <message>
        <source>Ser. No</source>
        <translation>Зав. №</translation>
    </message>
    <message>
        <source>Equipment Use</source>
        <translation>Используемое оборудование</translation>
    </message>
    <message>
        <source>Test Setting</source>
        <translation>Параметры испытания</translation>
    </message>
    <message>
        <source>Test Result</source>
        <translation>Результат испытания</translation>
    </message>
    <message>
        <source>Passed</source>
        <translation>Годен</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Не годен</translation>
    </message>
    <message>
        <source>Remarks</source>
        <translation>Примечания</translation>
    </message>
    <message>
        <source>Tested by</source>
        <translation>Испытал</translation>
    </message>
    <message>
        <source>Checked by</source>
        <translation>Проверил</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>配置文件 %1 无法读取，其中的设置按默认值运行；原文件予以保留。</source>
        <translation>Файл конфигурации %1 не читается: его настройки взяты по умолчанию. Сам файл сохранён.</translation>
    </message>
    <message>
        <source>以下校准文件已损坏，无法读取的校准系数按默认值运行：%1</source>
        <translation>Эти файлы калибровки повреждены; непрочитанные коэффициенты взяты по умолчанию: %1</translation>
    </message>
    <message>
        <source>有输出值不是有效数值或超出范围，试验未开始。</source>
        <translation>Значение выхода не является допустимым числом или вне диапазона: испытание не начато.</translation>
    </message>
    <message>
        <source>状态数或测试点数超出允许范围，试验未开始。</source>
        <translation>Число состояний или точек испытания вне допустимого диапазона: испытание не начато.</translation>
    </message>
    <message>
        <source>变化步数过多，超出仪器可输出的状态数，试验未开始。</source>
        <translation>Слишком много шагов изменения, больше состояний, чем может выдать прибор: испытание не начато.</translation>
    </message>
    <message>
        <source>功率和电能表常数都必须大于零，否则无法输出脉冲，试验未开始。</source>
        <translation>Мощность и постоянная счётчика должны быть больше нуля, иначе нет импульсов: испытание не начато.</translation>
    </message>
    <message>
        <source>脉冲周期超出仪器可输出的范围，试验未开始。</source>
        <translation>Период импульсов вне возможностей прибора: испытание не начато.</translation>
    </message>
    <message>
        <source>有输出值不是有效数值，或滑差不大于零，试验未开始。</source>
        <translation>Значение выхода недопустимо или скорость изменения не больше нуля: испытание не начато.</translation>
    </message>
    <message>
        <source>步长为零，永远达不到终值，试验未开始。</source>
        <translation>Нулевой шаг никогда не достигнет конечного значения: испытание не начато.</translation>
    </message>
    <message>
        <source>仪器未能接受输出设置，试验未开始。</source>
        <translation>Прибор не принял настройки выхода: испытание не начато.</translation>
    </message>
    <message>
        <source>设备未初始化</source>
        <translation>Прибор не инициализирован</translation>
    </message>
    <message>
        <source>功放温度过高，请待其冷却后再开始试验。</source>
        <translation>Усилители перегреты: дайте им остыть перед началом испытания.</translation>
    </message>
    <message>
        <source>联机测试无法启动，网络服务未能开启。</source>
        <translation>Не удалось включить дистанционное управление: сетевая служба не запустилась.</translation>
    </message>
    <message>
        <source>联机测试无法启动：端口 %1 无法使用（%2）。</source>
        <translation>Не удалось включить дистанционное управление: порт %1 недоступен (%2).</translation>
    </message>
    <message>
        <source>状态%1至%2合计不足%3毫秒，仪器的8个输出页来不及补充，试验未开始。</source>
        <translation>Состояния %1–%2 вместе длятся меньше %3 мс: восемь выходных страниц прибора не успевают пополняться. Испытание не начато.</translation>
    </message>
    <message>
        <source>递变将使%1达到%2，超出其输出范围%3至%4，试验未开始。</source>
        <translation>Изменение довело бы %1 до %2, вне диапазона выхода от %3 до %4: испытание не начато.</translation>
    </message>
    <message>
        <source>%1 = %2 超出 %3 … %4。</source>
        <translation>%1 = %2 вне диапазона %3 … %4.</translation>
    </message>
    <message>
        <source>%1 = “%2” 不是此页可以接受的值。</source>
        <translation>%1 = «%2»: эта страница не принимает такое значение.</translation>
    </message>
    <message>
        <source>参数文件无法读取，页面按默认值显示：%1</source>
        <translation>Файл параметров не читается; на странице значения по умолчанию: %1</translation>
    </message>
    <message>
        <source>原文件保留为 %1。</source>
        <translation>Файл сохранён как %1.</translation>
    </message>
    <message>
        <source>%1 在文件中出现了不止一次。</source>
        <translation>%1 встречается в файле больше одного раза.</translation>
    </message>
    <message>
        <source>%1 = %2 超出此页范围，按 %3 读入。</source>
        <translation>%1 = %2 вне пределов этой страницы: прочитано как %3.</translation>
    </message>
    <message>
        <source>页面的参数文件无法写入。</source>
        <translation>Файл параметров страницы не удаётся записать.</translation>
    </message>
    <message>
        <source>文件不完整或不是 XML 文件（第 %1 行）。</source>
        <translation>Файл обрезан или не является файлом XML (строка %1).</translation>
    </message>
    <message>
        <source>文件中有不能按 %1 读取的字节（第 %2 行）。</source>
        <translation>Файл содержит байты, которые нельзя прочитать как %1 (строка %2).</translation>
    </message>
    <message>
        <source>不是参数文件。</source>
        <translation>Это не файл параметров.</translation>
    </message>
    <message>
        <source>文件中有 XML 文件不能存放的字符。</source>
        <translation>Файл содержит символы, недопустимые в файле XML.</translation>
    </message>
    <message>
        <source>输出将使%1达到%2，超出其输出范围%3至%4，试验未开始。</source>
        <translation>Заданный вывод довёл бы %1 до %2, вне диапазона выхода от %3 до %4: испытание не начато.</translation>
    </message>
    <message>
        <source>步长时间%1短于防抖时间%2：动作要到其后数步才被确认，无法确定动作值，试验未开始。</source>
        <translation>Время шага %1 меньше времени антидребезга %2: срабатывание подтвердилось бы через несколько шагов, и его значение нельзя определить. Испытание не начато.</translation>
    </message>
    <message>
        <source>文件不完整或不是 XML 文件。</source>
        <translation>Файл обрезан или не является файлом XML.</translation>
    </message>
    <message>
        <source>校准系数未导入：%1含有无法读取的系数</source>
        <translation>Коэффициенты не импортированы: в %1 есть нечитаемый коэффициент</translation>
    </message>
    <message>
        <source>校准系数未导入：%1为旧格式，不能导入</source>
        <translation>Коэффициенты не импортированы: %1 в старом формате, который не импортируется</translation>
    </message>
    <message>
        <source>校准系数未导入：%1无法读取</source>
        <translation>Коэффициенты не импортированы: %1 не читается</translation>
    </message>
    <message>
        <source>校准系数未导出：U盘上的%1不是文件夹</source>
        <translation>Коэффициенты не экспортированы: %1 на USB-диске не папка</translation>
    </message>
    <message>
        <source>校准系数未导出：%1无法写入U盘</source>
        <translation>Коэффициенты не экспортированы: не удалось записать %1 на USB-диск</translation>
    </message>
    <message>
        <source>校准系数未导入：%1无法复制到仪器</source>
        <translation>Коэффициенты не импортированы: не удалось скопировать %1 в прибор</translation>
    </message>
    <message>
        <source>校准系数未导入：%1不是普通文件（是链接、管道、设备或文件夹）</source>
        <translation>Коэффициенты не импортированы: %1 не обычный файл (а ссылка, канал, устройство или папка)</translation>
    </message>
    <message>
        <source>%1（链接）</source>
        <translation>%1 (ссылка)</translation>
    </message>
    <message>
        <source>%1（不是普通文件）</source>
        <translation>%1 (не обычный файл)</translation>
    </message>
    <message>
        <source>%1（不是文件夹）</source>
        <translation>%1 (не папка)</translation>
    </message>
    <message>
        <source>%1（不存在）</source>
        <translation>%1 (отсутствует)</translation>
    </message>
    <message>
        <source>%1（无法读取）</source>
        <translation>%1 (не читается)</translation>
    </message>
    <message>
        <source>%1（文件名无效）</source>
        <translation>%1 (недопустимое имя файла)</translation>
    </message>
    <message>
        <source>%1（无法写入）</source>
        <translation>%1 (не записывается)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>已导出 %1/%2 个文件。</source>
        <translation>Экспортировано файлов: %1 из %2.</translation>
    </message>
    <message>
        <source>已导入 %1/%2 个文件。</source>
        <translation>Импортировано файлов: %1 из %2.</translation>
    </message>
    <message>
        <source>已导出：%1</source>
        <translation>Экспортированы: %1</translation>
    </message>
    <message>
        <source>已导入：%1</source>
        <translation>Импортированы: %1</translation>
    </message>
    <message>
        <source>未导出：%1</source>
        <translation>Не экспортированы: %1</translation>
    </message>
    <message>
        <source>未导入：%1</source>
        <translation>Не импортированы: %1</translation>
    </message>
    <message>
        <source>文件过大（超过 %1 字节），无法读取。</source>
        <translation>Файл слишком велик для чтения (более %1 байт).</translation>
    </message>
    <message>
        <source>升级文件不存在！请重新插入U盘。</source>
        <translation>Файл обновления не найден! Вставьте USB-накопитель снова.</translation>
    </message>
    <message>
        <source>升级文件无法使用：%1</source>
        <translation>Файл обновления отклонён: %1</translation>
    </message>
    <message>
        <source>文件的元素、属性或嵌套层数超过仪器所写的任何此类文件。</source>
        <translation>В файле больше элементов, атрибутов или уровней вложенности, чем в любом таком файле, который пишет прибор.</translation>
    </message>
    <message>
        <source>文件声明的编码无法识别。</source>
        <translation>Файл объявляет кодировку, которую нельзя прочитать.</translation>
    </message>
    <message>
        <source>状态%1由GPS/IRIG-B触发，但未设置触发时间，试验未开始。</source>
        <translation>Состояние %1 завершается по GPS/IRIG-B, но время запуска не задано: испытание не начато.</translation>
    </message>
    <message>
        <source>U盘为只读</source>
        <translation>USB-диск только для чтения</translation>
    </message>
    <message>
        <source>U盘已满</source>
        <translation>USB-диск заполнен</translation>
    </message>
    <message>
        <source>名称过长</source>
        <translation>слишком длинное имя</translation>
    </message>
    <message>
        <source>没有写入权限</source>
        <translation>нет прав на запись</translation>
    </message>
    <message>
        <source>校准系数未导出：无法在U盘上建立文件夹%1（%2）</source>
        <translation>Коэффициенты не экспортированы: не удалось создать папку %1 на USB-диске (%2)</translation>
    </message>
    <message>
        <source>校准系数未导入：%1的元素、属性或嵌套层数超过仪器所写的任何校准文件</source>
        <translation>Коэффициенты не импортированы: в %1 больше элементов, атрибутов или уровней вложенности, чем в любом файле калибровки, который пишет прибор</translation>
    </message>
    <message>
        <source>校准系数未导入：%1大于任何校准文件（超过 %2 字节）</source>
        <translation>Коэффициенты не импортированы: %1 больше любого файла калибровки (более %2 байт)</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Нет возврата</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Нет срабат.</translation>
    </message>
    <message>
        <source>第%1点</source>
        <translation>Точка %1</translation>
    </message>
    <message>
        <source>状态%1</source>
        <translation>Состояние %1</translation>
    </message>
    <message>
        <source>评估%1</source>
        <translation>Оценка %1</translation>
    </message>
    <message>
        <source>终值</source>
        <translation>Конец</translation>
    </message>
    <message>
        <source>步长</source>
        <translation>Шаг</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Амплитуда</translation>
    </message>
    <message>
        <source>相位</source>
        <translation>Фаза</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Частота</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>它不是普通文件，而是文件夹、管道、设备或套接字。</source>
        <translation>Это не обычный файл, а папка, канал, устройство или сокет.</translation>
    </message>
    <message>
        <source>文件存在，但无法打开或读取（权限或存储介质故障）。</source>
        <translation>Файл есть, но его не удалось открыть или прочитать (права доступа или сбой носителя).</translation>
    </message>
    <message>
        <source>升级成功!正在自动重启。</source>
        <translation>Обновление выполнено! Перезапуск.</translation>
    </message>
    <message>
        <source>升级失败！请联系技术支持。</source>
        <translation>Ошибка обновления! Обратитесь в техподдержку.</translation>
    </message>
    <message>
        <source>校准系数未导入：%1不含本类校准系数</source>
        <translation>Коэффициенты не импортированы: в %1 нет коэффициентов своего вида</translation>
    </message>
    <message>
        <source>配置文件 %1 中的 %2 为 %3，超出其范围，按 %4 运行。</source>
        <translation>В файле конфигурации %1 параметр %2 равен %3, вне допустимого диапазона: используется %4.</translation>
    </message>
    <message>
        <source>保存报告失败：报告文件夹 %1 通向应用程序文件夹之外。</source>
        <translation>Отчёт не сохранён: папка отчётов %1 ведёт за пределы папки программы.</translation>
    </message>
</context>
<context>
    <name>ViewCalibrationModel</name>
    <message>
        <source>校准系数保存失败：%1</source>
        <translation>Коэффициенты не сохранены: %1</translation>
    </message>
    <message>
        <source>校准系数保存成功!</source>
        <translation>Коэффициенты сохранены!</translation>
    </message>
    <message>
        <source>没有测量任何校准点，校准系数未改变。</source>
        <translation>Ни одна точка не измерена: коэффициенты не изменились.</translation>
    </message>
    <message>
        <source>已保存的校准点：%1</source>
        <translation>Сохранены точки калибровки: %1</translation>
    </message>
</context>
<context>
    <name>ViewComputerDistanceModel</name>
    <message>
        <source>故障无法计算，输出值未改变：请检查短路阻抗和计算模型。</source>
        <translation>КЗ не рассчитано, выходы не изменены: проверьте сопротивление КЗ и модель расчёта.</translation>
    </message>
</context>
<context>
    <name>ViewDirectModel</name>
    <message>
        <source>Variable port</source>
        <translation>Изменяемая фаза</translation>
    </message>
    <message>
        <source>Action value</source>
        <translation>Значение срабат.</translation>
    </message>
    <message>
        <source>Return value</source>
        <translation>Значение возврата</translation>
    </message>
    <message>
        <source>Return Coefficient</source>
        <translation>Коэф. возврата</translation>
    </message>
    <message>
        <source>Action time</source>
        <translation>Время срабат.</translation>
    </message>
    <message>
        <source>Return time</source>
        <translation>Время возврата</translation>
    </message>
</context>
<context>
    <name>ViewDistanceModel</name>
    <message>
        <source>故障无法计算，输出值未改变：请检查短路阻抗和计算模型。</source>
        <translation>КЗ не рассчитывается, выходы не изменены: проверьте сопротивление КЗ и модель расчёта.</translation>
    </message>
    <message>
        <source>Pre-Fault</source>
        <translation>До КЗ</translation>
    </message>
    <message>
        <source>Fault-Interval</source>
        <translation>После КЗ</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Модель</translation>
    </message>
    <message>
        <source>Const Current</source>
        <translation>I пост.</translation>
    </message>
    <message>
        <source>Fault-Current</source>
        <translation>Ток КЗ</translation>
    </message>
    <message>
        <source>Const Voltage</source>
        <translation>U пост.</translation>
    </message>
    <message>
        <source>Fault-Voltage</source>
        <translation>Напряжение КЗ</translation>
    </message>
    <message>
        <source>CT Dir</source>
        <translation>Напр. ТТ</translation>
    </message>
    <message>
        <source>指向母线</source>
        <translation>Шины</translation>
    </message>
    <message>
        <source>指向线路</source>
        <translation>Линия</translation>
    </message>
    <message>
        <source>PT Dir</source>
        <translation>Напр. ТН</translation>
    </message>
    <message>
        <source>在母线上</source>
        <translation>Шины</translation>
    </message>
    <message>
        <source>在线路上</source>
        <translation>Линия</translation>
    </message>
    <message>
        <source>Load-Current</source>
        <translation>Ток нагрузки</translation>
    </message>
    <message>
        <source>Load-Angle</source>
        <translation>Угол нагрузки</translation>
    </message>
    <message>
        <source>Grounding</source>
        <translation>Компенсация</translation>
    </message>
    <message>
        <source>KL Range</source>
        <translation>KL мод.</translation>
    </message>
    <message>
        <source>KL Angle</source>
        <translation>KL угол</translation>
    </message>
    <message>
        <source>Z0/Z1 Range</source>
        <translation>Z0/Z1 мод.</translation>
    </message>
    <message>
        <source>Z0/Z1 Angle</source>
        <translation>Z0/Z1 угол</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Задано</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Амплитуда</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Угол</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Логика</translation>
    </message>
    <message>
        <source>And</source>
        <translation>И</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>ИЛИ</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Дискр. вход</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Дискр. выход</translation>
    </message>
    <message>
        <source>Fault Kind</source>
        <translation>Вид КЗ</translation>
    </message>
    <message>
        <source>Fault Dir</source>
        <translation>Напр. КЗ</translation>
    </message>
    <message>
        <source>ZRange</source>
        <translation>Z мод.</translation>
    </message>
    <message>
        <source>ZAngle</source>
        <translation>Z угол</translation>
    </message>
    <message>
        <source>T.nom</source>
        <translation>Туст</translation>
    </message>
    <message>
        <source>Dev</source>
        <translation>Откл.</translation>
    </message>
    <message>
        <source>Action Time</source>
        <translation>Время срабат.</translation>
    </message>
    <message>
        <source>DI</source>
        <translation>ДВ</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Прямое</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Обратное</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Не испытано</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Годен</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Не годен</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Нет срабат.</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Нет возврата</translation>
    </message>
    <message>
        <source>阻抗角</source>
        <translation>Угол Z</translation>
    </message>
    <message>
        <source>故障时间</source>
        <translation>Время КЗ</translation>
    </message>
</context>
<context>
    <name>ViewEnergyModel</name>
    <message>
        <source>第%1点的计数需要%2 s，超过仪器可计时的%3 s：请减少脉冲数或提高功率。</source>
        <translation>Точке %1 нужно %2 с на счёт, больше %3 с, которые измеряет прибор: уменьшите число импульсов или увеличьте мощность.</translation>
    </message>
    <message>
        <source>该点的计数需要%1 s，超过仪器可计时的%2 s：请减少脉冲数或提高功率。</source>
        <translation>Точке нужно %1 с на счёт, больше %2 с, которые измеряет прибор: уменьшите число импульсов или увеличьте мощность.</translation>
    </message>
    <message>
        <source>Active Power</source>
        <translation>Активная</translation>
    </message>
    <message>
        <source>Reactive Power</source>
        <translation>Реактивная</translation>
    </message>
    <message>
        <source>Apparent Power</source>
        <translation>Полная</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>Однофазн.</translation>
    </message>
    <message>
        <source>3P4W</source>
        <translation>3Ф4П</translation>
    </message>
    <message>
        <source>3P3W</source>
        <translation>3Ф3П</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Приём</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Отдача</translation>
    </message>
    <message>
        <source>Import/Export</source>
        <translation>Приём/отдача</translation>
    </message>
    <message>
        <source>Meter type</source>
        <translation>Тип счётчика</translation>
    </message>
    <message>
        <source>Measure type</source>
        <translation>Схема</translation>
    </message>
    <message>
        <source>Secondary</source>
        <translation>Вторичн.</translation>
    </message>
    <message>
        <source>Primary</source>
        <translation>Первичн.</translation>
    </message>
    <message>
        <source>Pulse/Quantity</source>
        <translation>Имп./Энергия</translation>
    </message>
    <message>
        <source>Heat time</source>
        <translation>Прогрев</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Пуск</translation>
    </message>
    <message>
        <source>Pulse Count</source>
        <translation>Имп./оборот</translation>
    </message>
    <message>
        <source>Settling time</source>
        <translation>Установление</translation>
    </message>
    <message>
        <source>Pulse type</source>
        <translation>Тип импульса</translation>
    </message>
    <message>
        <source>Rising</source>
        <translation>Фронт</translation>
    </message>
    <message>
        <source>Falling</source>
        <translation>Спад</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Направление</translation>
    </message>
    <message>
        <source>Precision</source>
        <translation>Класс</translation>
    </message>
    <message>
        <source>Pulse constant</source>
        <translation>Постоянная имп.</translation>
    </message>
    <message>
        <source>Whether to send a local pulse</source>
        <translation>Выдавать свои импульсы</translation>
    </message>
    <message>
        <source>Voltage</source>
        <translation>Напряжение</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>Ток</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Частота</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>Мощность</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Угол</translation>
    </message>
    <message>
        <source>Factor</source>
        <translation>Коэфф.</translation>
    </message>
    <message>
        <source>Pulse</source>
        <translation>Импульсы</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Задано</translation>
    </message>
    <message>
        <source>Actual</source>
        <translation>Измерено</translation>
    </message>
    <message>
        <source>Dev</source>
        <translation>Погр.</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>NoTest</source>
        <translation>Не испытано</translation>
    </message>
    <message>
        <source>Passed</source>
        <translation>Годен</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Не годен</translation>
    </message>
    <message>
        <source>No Action</source>
        <translation>Нет срабат.</translation>
    </message>
    <message>
        <source>ind.</source>
        <translation>инд.</translation>
    </message>
    <message>
        <source>cap.</source>
        <translation>ёмк.</translation>
    </message>
    <message>
        <source>true</source>
        <translation>Да</translation>
    </message>
    <message>
        <source>false</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>第%1点没有可计数的电能（功率%2，脉冲数%3）：请检查电流、角度、脉冲数和表计类型。</source>
        <translation>Точке %1 нечего считать (мощность %2, импульсов %3): проверьте ток, угол, число импульсов и тип счётчика.</translation>
    </message>
    <message>
        <source>该点没有可计数的电能（功率%1，脉冲数%2）：请检查电流、角度、脉冲数和表计类型。</source>
        <translation>Точке нечего считать (мощность %1, импульсов %2): проверьте ток, угол, число импульсов и тип счётчика.</translation>
    </message>
</context>
<context>
    <name>ViewHarmonicModel</name>
    <message>
        <source>Test mode</source>
        <translation>Режим испытания</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Автоматический</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Ручной</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Режим</translation>
    </message>
    <message>
        <source>From-to</source>
        <translation>До срабатывания</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>Непрерывно</translation>
    </message>
    <message>
        <source>Deglitch</source>
        <translation>Антидребезг</translation>
    </message>
    <message>
        <source>Auto time</source>
        <translation>Время авто</translation>
    </message>
    <message>
        <source>Order</source>
        <translation>Гармоника</translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Амплитуда</translation>
    </message>
    <message>
        <source>Percentage</source>
        <translation>Процент</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Величина</translation>
    </message>
    <message>
        <source>Test item</source>
        <translation>Величина</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Фаза</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Конец</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Шаг</translation>
    </message>
    <message>
        <source>Rate Frequency</source>
        <translation>Номин. частота</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Логика</translation>
    </message>
    <message>
        <source>And</source>
        <translation>И</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>ИЛИ</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Дискр. вход</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Дискр. выход</translation>
    </message>
    <message>
        <source>Base</source>
        <translation>Основная</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Не испытано</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Годен</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Не годен</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Нет срабат.</translation>
    </message>
    <message>
        <source>T.nom</source>
        <translation>Туст</translation>
    </message>
    <message>
        <source>Dev</source>
        <translation>Откл.</translation>
    </message>
    <message>
        <source>Action time</source>
        <translation>Время срабат.</translation>
    </message>
    <message>
        <source>Action value</source>
        <translation>Значение срабат.</translation>
    </message>
    <message>
        <source>DI</source>
        <translation>ДВ</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>第%1次谐波的频率%2 Hz超出输出的频率上限%3 Hz，试验未开始。</source>
        <translation>Гармоника порядка %1 дала бы %2 Гц, выше %3 Гц, которые дают выходы: испытание не начато.</translation>
    </message>
    <message>
        <source>输出将使%1达到%2，超出其输出范围%3至%4，试验已停止。</source>
        <translation>Заданный вывод довёл бы %1 до %2, вне диапазона выхода от %3 до %4: испытание остановлено.</translation>
    </message>
</context>
<context>
    <name>ViewLoadSheddingModel</name>
    <message>
        <source>未复归</source>
        <translation>Нет возврата</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Нет срабат.</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>№</translation>
    </message>
    <message>
        <source>测试项目</source>
        <translation>Испытание</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Знач. сраб.</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Время сраб.</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Не испытано</translation>
    </message>
    <message>
        <source>失败：提前%1</source>
        <translation>Отказ: на %1 раньше</translation>
    </message>
    <message>
        <source>频率始值</source>
        <translation>f нач.</translation>
    </message>
    <message>
        <source>频率终值</source>
        <translation>f кон.</translation>
    </message>
    <message>
        <source>频率步长</source>
        <translation>Шаг f</translation>
    </message>
    <message>
        <source>频率滑差</source>
        <translation>df/dt</translation>
    </message>
    <message>
        <source>计时频率</source>
        <translation>f отсчёта</translation>
    </message>
    <message>
        <source>电压始值</source>
        <translation>U нач.</translation>
    </message>
    <message>
        <source>电压终值</source>
        <translation>U кон.</translation>
    </message>
    <message>
        <source>电压步长</source>
        <translation>Шаг U</translation>
    </message>
    <message>
        <source>电压滑差</source>
        <translation>dU/dt</translation>
    </message>
    <message>
        <source>计时电压</source>
        <translation>U отсчёта</translation>
    </message>
    <message>
        <source>滑差始值</source>
        <translation>Скор. нач.</translation>
    </message>
    <message>
        <source>滑差终值</source>
        <translation>Скор. кон.</translation>
    </message>
    <message>
        <source>滑差步长</source>
        <translation>Шаг скор.</translation>
    </message>
    <message>
        <source>电流始值</source>
        <translation>I нач.</translation>
    </message>
    <message>
        <source>电流终值</source>
        <translation>I кон.</translation>
    </message>
    <message>
        <source>电流步长</source>
        <translation>Шаг I</translation>
    </message>
    <message>
        <source>第%1点：%2 %3不在变化范围%4至%5之内，无从计算动作时间：请设置变化范围内的值。</source>
        <translation>Точка %1: %2 %3 лежит вне изменения от %4 до %5, время срабатывания не отсчитать: задайте значение внутри изменения.</translation>
    </message>
    <message>
        <source>该点：%1 %2不在变化范围%3至%4之内，无从计算动作时间：请设置变化范围内的值。</source>
        <translation>Эта точка: %1 %2 лежит вне изменения от %3 до %4, время срабатывания не отсчитать: задайте значение внутри изменения.</translation>
    </message>
</context>
<context>
    <name>ViewOscillateModel</name>
    <message>
        <source>Test mode</source>
        <translation>Режим испытания</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Ручной</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Режим</translation>
    </message>
    <message>
        <source>From-to</source>
        <translation>До срабатывания</translation>
    </message>
    <message>
        <source>Deglitch</source>
        <translation>Антидребезг</translation>
    </message>
    <message>
        <source>Oscillate</source>
        <translation>Качания</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Порт</translation>
    </message>
    <message>
        <source>Percent</source>
        <translation>Процент</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Угол</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Частота</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Логика</translation>
    </message>
    <message>
        <source>And</source>
        <translation>И</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>ИЛИ</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Дискр. вход</translation>
    </message>
    <message>
        <source>Base</source>
        <translation>Основная</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Дискр. выход</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Амплитуда</translation>
    </message>
    <message>
        <source>Variable port</source>
        <translation>Изменяемая фаза</translation>
    </message>
    <message>
        <source>Action value</source>
        <translation>Значение срабат.</translation>
    </message>
    <message>
        <source>Action time</source>
        <translation>Время срабат.</translation>
    </message>
</context>
<context>
    <name>ViewOvercurrentCurvePainter</name>
    <message>
        <source>I(A)</source>
        <translation>Ток(А)</translation>
    </message>
    <message>
        <source>Time(s)</source>
        <translation>Время(с)</translation>
    </message>
</context>
<context>
    <name>ViewOvercurrentModel</name>
    <message>
        <source>Current Tol</source>
        <translation>Допуск I</translation>
    </message>
    <message>
        <source>故障前时间</source>
        <translation>Время до КЗ</translation>
    </message>
    <message>
        <source>电流允许绝对偏差</source>
        <translation>Абс. допуск I</translation>
    </message>
    <message>
        <source>仅输出一次</source>
        <translation>Однократно</translation>
    </message>
    <message>
        <source>Time Tol</source>
        <translation>Допуск t</translation>
    </message>
    <message>
        <source>OC Directional</source>
        <translation>Направленность</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Вкл.</translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>Откл.</translation>
    </message>
    <message>
        <source>时间允许绝对偏差</source>
        <translation>Абс. допуск t</translation>
    </message>
    <message>
        <source>Fault VPN</source>
        <translation>Напр. КЗ</translation>
    </message>
    <message>
        <source>Max Fault Time</source>
        <translation>Макс. время КЗ</translation>
    </message>
    <message>
        <source>I-Angle</source>
        <translation>Угол I</translation>
    </message>
    <message>
        <source>间隔时间</source>
        <translation>Время паузы</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Логика</translation>
    </message>
    <message>
        <source>And</source>
        <translation>И</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>ИЛИ</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Дискр. вход</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Дискр. выход</translation>
    </message>
    <message>
        <source>Function</source>
        <translation>Функция</translation>
    </message>
    <message>
        <source>Curve</source>
        <translation>Кривая</translation>
    </message>
    <message>
        <source>Pick-up</source>
        <translation>Уставка</translation>
    </message>
    <message>
        <source>Dial Time</source>
        <translation>Множитель</translation>
    </message>
    <message>
        <source>Inst. Overcurrent</source>
        <translation>Отсечка</translation>
    </message>
    <message>
        <source>故障类型</source>
        <translation>Вид КЗ</translation>
    </message>
    <message>
        <source>绝对值</source>
        <translation>Значение</translation>
    </message>
    <message>
        <source>功能</source>
        <translation>Функция</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>Туст</translation>
    </message>
    <message>
        <source>最小时间</source>
        <translation>Tмин</translation>
    </message>
    <message>
        <source>最大时间</source>
        <translation>Tмакс</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Время сраб.</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>ДВ</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Не испытано</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Годен</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Не годен</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Нет срабат.</translation>
    </message>
    <message>
        <source>True</source>
        <translation>Да</translation>
    </message>
    <message>
        <source>False</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>Time-current curve</source>
        <translation>Времятоковая кривая</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Нет возврата</translation>
    </message>
    <message>
        <source>第%1点的动作时间范围止于%2，故障须持续%3（含防抖时间%4）才能判断，超过最大故障时间%5：请加长最大故障时间。</source>
        <translation>Окно срабатывания точки %1 кончается в %2: для оценки КЗ должно длиться %3 (с антидребезгом %4), дольше макс. времени КЗ %5: увеличьте макс. время КЗ.</translation>
    </message>
    <message>
        <source>该点的动作时间范围止于%1，故障须持续%2（含防抖时间%3）才能判断，超过最大故障时间%4：请加长最大故障时间。</source>
        <translation>Окно срабатывания этой точки кончается в %1: для оценки КЗ должно длиться %2 (с антидребезгом %3), дольше макс. времени КЗ %4: увеличьте макс. время КЗ.</translation>
    </message>
    <message>
        <source>I test</source>
        <translation>I исп.</translation>
    </message>
</context>
<context>
    <name>ViewPointListModel</name>
    <message>
        <source>第%1点的电压%2超过装置的最大电压%3。</source>
        <translation>Точке %1 нужно %2, больше наибольшего напряжения прибора %3.</translation>
    </message>
    <message>
        <source>第%1点的电流%2超过装置的最大电流%3。</source>
        <translation>Точке %1 нужно %2, больше наибольшего тока прибора %3.</translation>
    </message>
    <message>
        <source>该点的电压%1超过装置的最大电压%2。</source>
        <translation>Точке нужно %1, больше наибольшего напряжения прибора %2.</translation>
    </message>
    <message>
        <source>该点的电流%1超过装置的最大电流%2。</source>
        <translation>Точке нужно %1, больше наибольшего тока прибора %2.</translation>
    </message>
</context>
<context>
    <name>ViewRampOutputModel</name>
    <message>
        <source>From-to</source>
        <translation>До срабатывания</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>Непрерывно</translation>
    </message>
    <message>
        <source>From-to-From</source>
        <translation>Срабатывание-возврат</translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Амплитуда</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Фаза</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Частота</translation>
    </message>
    <message>
        <source>Test mode</source>
        <translation>Режим испытания</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Автоматический</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Ручной</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Режим</translation>
    </message>
    <message>
        <source>Deglitch</source>
        <translation>Антидребезг</translation>
    </message>
    <message>
        <source>Auto time</source>
        <translation>Время авто</translation>
    </message>
    <message>
        <source>Test item</source>
        <translation>Величина</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Шаг</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Конечное значение</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Логика</translation>
    </message>
    <message>
        <source>And</source>
        <translation>И</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>ИЛИ</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Дискр. вход</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Дискр. выход</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Не испытано</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Нет срабат.</translation>
    </message>
</context>
<context>
    <name>ViewRampingModel</name>
    <message>
        <source>没有测试状态，请先添加状态。</source>
        <translation>Нет состояний для испытания: сначала добавьте.</translation>
    </message>
    <message>
        <source>状态%1：</source>
        <translation>Состояние %1: </translation>
    </message>
    <message>
        <source>步长时间必须大于零。</source>
        <translation>Время шага должно быть больше нуля.</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Состояние</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Величина</translation>
    </message>
    <message>
        <source>Test item</source>
        <translation>Величина</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Конец</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Шаг</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Логика</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Дискр. вход</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Фаза</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Частота</translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Амплитуда</translation>
    </message>
    <message>
        <source>And</source>
        <translation>И</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>ИЛИ</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Дискр. выход</translation>
    </message>
    <message>
        <source>Function</source>
        <translation>Функция</translation>
    </message>
    <message>
        <source>T.nom</source>
        <translation>Туст</translation>
    </message>
    <message>
        <source>Dev</source>
        <translation>Откл.</translation>
    </message>
    <message>
        <source>Action Time</source>
        <translation>Время срабат.</translation>
    </message>
    <message>
        <source>Action value</source>
        <translation>Значение срабат.</translation>
    </message>
    <message>
        <source>DI</source>
        <translation>ДВ</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Не испытано</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Годен</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Не годен</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Нет возврата</translation>
    </message>
    <message>
        <source>步长时间</source>
        <translation>Время шага</translation>
    </message>
</context>
<context>
    <name>ViewSlipFrequencyModel</name>
    <message>
        <source>动作频率</source>
        <translation>Частота сраб.</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Время сраб.</translation>
    </message>
    <message>
        <source>频率滑差</source>
        <translation>df/dt</translation>
    </message>
    <message>
        <source>低流闭锁</source>
        <translation>Блок. по мин. I</translation>
    </message>
    <message>
        <source>电压闭锁</source>
        <translation>Блок. по U</translation>
    </message>
</context>
<context>
    <name>ViewSlipVoltageModel</name>
    <message>
        <source>动作电压</source>
        <translation>Напр. сраб.</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Время сраб.</translation>
    </message>
    <message>
        <source>电压滑差</source>
        <translation>dU/dt</translation>
    </message>
    <message>
        <source>低流闭锁</source>
        <translation>Блок. по мин. I</translation>
    </message>
</context>
<context>
    <name>ViewSourceTestModel</name>
    <message>
        <source>步长必须大于零。</source>
        <translation>Шаг должен быть больше нуля.</translation>
    </message>
    <message>
        <source>自动时间必须大于零。</source>
        <translation>Время авто должно быть больше нуля.</translation>
    </message>
    <message>
        <source>终值无效。</source>
        <translation>Неверное конечное значение.</translation>
    </message>
    <message>
        <source>终值位于所选各相的输出之间，无法递变。</source>
        <translation>Конечное значение лежит между выходами выбранных фаз: изменение невозможно.</translation>
    </message>
    <message>
        <source>终值低于当前输出，不能递增。</source>
        <translation>Конечное значение ниже выхода: увеличение невозможно.</translation>
    </message>
    <message>
        <source>终值高于当前输出，不能递减。</source>
        <translation>Конечное значение выше выхода: уменьшение невозможно.</translation>
    </message>
    <message>
        <source>请先按“+”或“-”设定变化方向。</source>
        <translation>Сначала нажмите «+» или «-», чтобы задать направление.</translation>
    </message>
    <message>
        <source>动作时间范围止于%1，每步却只有%2：在其后动作的继电器会被记在下一步。请把步长时间设为至少%1。</source>
        <translation>Окно срабатывания кончается в %1, а шаг длится лишь %2: реле, сработавшее позже, будет отнесено к следующему шагу. Задайте время шага не меньше %1.</translation>
    </message>
</context>
<context>
    <name>ViewStateSequenceModel</name>
    <message>
        <source>Deglitch</source>
        <translation>Антидребезг</translation>
    </message>
    <message>
        <source>States</source>
        <translation>Состояния</translation>
    </message>
    <message>
        <source>State </source>
        <translation>Состояние </translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Амплитуда</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Фаза</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Частота</translation>
    </message>
    <message>
        <source>Trip mode</source>
        <translation>Режим запуска</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>State time</source>
        <translation>Время состояния</translation>
    </message>
    <message>
        <source>Binary</source>
        <translation>Дискр. вход</translation>
    </message>
    <message>
        <source>Time+Binary</source>
        <translation>Время+вход</translation>
    </message>
    <message>
        <source>Key-Press</source>
        <translation>Клавиша</translation>
    </message>
    <message>
        <source>GPS/IRIG-B</source>
        <translation>GPS/IRIG-B</translation>
    </message>
    <message>
        <source>Out.mode</source>
        <translation>Режим вывода</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>Непрерывно</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Логика</translation>
    </message>
    <message>
        <source>And</source>
        <translation>И</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>ИЛИ</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Дискр. вход</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Дискр. выход</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Состояние</translation>
    </message>
    <message>
        <source>DI</source>
        <translation>ДВ</translation>
    </message>
    <message>
        <source>Assessment Result</source>
        <translation>Результат оценки</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Начало</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Конец</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>Туст</translation>
    </message>
    <message>
        <source>偏差</source>
        <translation>Откл.</translation>
    </message>
    <message>
        <source>实际时间</source>
        <translation>Факт. время</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Не испытано</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Годен</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Не годен</translation>
    </message>
    <message>
        <source>Event Recorder</source>
        <translation>Регистратор событий</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Тип</translation>
    </message>
    <message>
        <source>Signal Name</source>
        <translation>Имя сигнала</translation>
    </message>
    <message>
        <source>Slope</source>
        <translation>Переход</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>评估%1的时间范围为%2至%3，所选状态却最长只持续%4，试验未开始。</source>
        <translation>Оценка %1 проверяет от %2 до %3, но её состояния длятся не более %4: испытание не начато.</translation>
    </message>
    <message>
        <source>评估%1的时间范围为%2至%3，所选状态却至少持续%4，试验未开始。</source>
        <translation>Оценка %1 проверяет от %2 до %3, но её состояния длятся не менее %4: испытание не начато.</translation>
    </message>
</context>
<context>
    <name>ViewStdSourceModel</name>
    <message>
        <source>分元无效</source>
        <translation>Не применимо</translation>
    </message>
    <message>
        <source>三元件</source>
        <translation>3 элемента</translation>
    </message>
    <message>
        <source>二元件</source>
        <translation>2 элемента</translation>
    </message>
    <message>
        <source>A元件</source>
        <translation>Элемент A</translation>
    </message>
    <message>
        <source>B元件</source>
        <translation>Элемент B</translation>
    </message>
    <message>
        <source>C元件</source>
        <translation>Элемент C</translation>
    </message>
    <message>
        <source>单项有功功率</source>
        <translation>Активная мощность, 1 фаза</translation>
    </message>
    <message>
        <source>三相四线(Y型接法)有功功率</source>
        <translation>3 фазы 4 провода (Y), активная мощность</translation>
    </message>
    <message>
        <source>三相三线(V型接法)有功功率</source>
        <translation>3 фазы 3 провода (V), активная мощность</translation>
    </message>
    <message>
        <source>三相三线(△型接法)有功功率</source>
        <translation>3 фазы 3 провода (Δ), активная мощность</translation>
    </message>
    <message>
        <source>三相四线(Y型接法)真无功功率</source>
        <translation>3 фазы 4 провода (Y), истинная реакт. мощность</translation>
    </message>
    <message>
        <source>三相三线(V型接法)真无功功率</source>
        <translation>3 фазы 3 провода (V), истинная реакт. мощность</translation>
    </message>
    <message>
        <source>三相三线(△型接法)真无功功率</source>
        <translation>3 фазы 3 провода (Δ), истинная реакт. мощность</translation>
    </message>
    <message>
        <source>三元件90°无功功率</source>
        <translation>3 элемента 90°, реактивная мощность</translation>
    </message>
    <message>
        <source>二元件90°无功功率</source>
        <translation>2 элемента 90°, реактивная мощность</translation>
    </message>
    <message>
        <source>工作方式</source>
        <translation>Режим работы</translation>
    </message>
    <message>
        <source>功率因数</source>
        <translation>Коэф. мощности</translation>
    </message>
    <message>
        <source>功率相角</source>
        <translation>Угол мощности</translation>
    </message>
    <message>
        <source>分元选择</source>
        <translation>Элемент</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Частота</translation>
    </message>
    <message>
        <source>电压幅值</source>
        <translation>Напряжение</translation>
    </message>
    <message>
        <source>电流幅值</source>
        <translation>Ток</translation>
    </message>
    <message>
        <source>有功功率</source>
        <translation>Активная мощность</translation>
    </message>
    <message>
        <source>无功功率</source>
        <translation>Реактивная мощность</translation>
    </message>
    <message>
        <source>视在功率</source>
        <translation>Полная мощность</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Амплитуда</translation>
    </message>
    <message>
        <source>相位</source>
        <translation>Фаза</translation>
    </message>
    <message>
        <source>功率</source>
        <translation>Мощность</translation>
    </message>
</context>
</TS>
