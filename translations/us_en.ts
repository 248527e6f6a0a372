<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>ChildCalMeasureDialog</name>
    <message>
        <source>请输入校准测量值...</source>
        <translation>Enter the measured value...</translation>
    </message>
    <message>
        <source>校准点:</source>
        <translation>Point:</translation>
    </message>
    <message>
        <source>测量值:</source>
        <translation>Measured:</translation>
    </message>
</context>
<context>
    <name>ChildTestTimeDialog</name>
    <message>
        <source>定时设置</source>
        <translation>Timer Setting</translation>
    </message>
    <message>
        <source>输出开始时刻：</source>
        <translation>Output start:</translation>
    </message>
    <message>
        <source>开出翻转时刻：</source>
        <translation>DO toggle:</translation>
    </message>
</context>
<context>
    <name>CommSOEEntity</name>
    <message>
        <source>开始测试</source>
        <translation>Start test</translation>
    </message>
    <message>
        <source>停止测试</source>
        <translation>Stop test</translation>
    </message>
    <message>
        <source>开始输出</source>
        <translation>Start output</translation>
    </message>
    <message>
        <source>停止输出</source>
        <translation>Stop output</translation>
    </message>
    <message>
        <source>改变输出</source>
        <translation>Switch output</translation>
    </message>
    <message>
        <source>输出状态</source>
        <translation>Output state</translation>
    </message>
    <message>
        <source>状态%1未在仪器到达前写入，测试在此结束</source>
        <translation>State %1 was not written before the instrument reached it: the test ended there</translation>
    </message>
    <message>
        <source>开出量</source>
        <translation>DO</translation>
    </message>
    <message>
        <source>开入量</source>
        <translation>DI</translation>
    </message>
    <message>
        <source>由合到开</source>
        <translation>On-Off</translation>
    </message>
    <message>
        <source>由开到合</source>
        <translation>Off-On</translation>
    </message>
</context>
<context>
    <name>ComputerDistanceDialog</name>
    <message>
        <source>故障计算</source>
        <translation>Fault-Calc</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Z0/Z1幅值</source>
        <translation>Z0/Z1 R</translation>
    </message>
    <message>
        <source>Z0/Z1角度</source>
        <translation>Z0/Z1 A</translation>
    </message>
    <message>
        <source>KL幅值</source>
        <translation>KL Range</translation>
    </message>
    <message>
        <source>KL角度</source>
        <translation>KL Angle</translation>
    </message>
    <message>
        <source>故障参数</source>
        <translation>Fault Parameter</translation>
    </message>
    <message>
        <source>计算模型</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>电流恒定</source>
        <translation>Const I</translation>
    </message>
    <message>
        <source>电压恒定</source>
        <translation>Const U</translation>
    </message>
    <message>
        <source>故障类型</source>
        <translation>F-Type</translation>
    </message>
    <message>
        <source>CT位置</source>
        <translation>CT Dir.</translation>
    </message>
    <message>
        <source>指向母线</source>
        <translation>Busbar</translation>
    </message>
    <message>
        <source>指向线路</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>PT位置</source>
        <translation>PT Dir.</translation>
    </message>
    <message>
        <source>在母线上</source>
        <translation>Busbar</translation>
    </message>
    <message>
        <source>在线路上</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>故障方向</source>
        <translation>Fault Dir.</translation>
    </message>
    <message>
        <source>正方向</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>反方向</source>
        <translation>Reverse</translation>
    </message>
    <message>
        <source>故障电压</source>
        <translation>Fault-U</translation>
    </message>
    <message>
        <source>故障电流</source>
        <translation>Fault-I</translation>
    </message>
    <message>
        <source>负荷电流</source>
        <translation>Load-I</translation>
    </message>
    <message>
        <source>负荷相角</source>
        <translation>Load-θ</translation>
    </message>
    <message>
        <source>短路阻抗</source>
        <translation>Short-Circuit Impedance</translation>
    </message>
    <message>
        <source>角</source>
        <translation>θ</translation>
    </message>
    <message>
        <source>零序补偿系数</source>
        <translation>Grounding Factor</translation>
    </message>
    <message>
        <source>补偿方式</source>
        <translation>Mode</translation>
    </message>
</context>
<context>
    <name>EditNumberBox</name>
    <message>
        <source>无效值</source>
        <translation>Invalid</translation>
    </message>
    <message>
        <source>超出范围</source>
        <translation>Out of range</translation>
    </message>
</context>
<context>
    <name>FileManagerPage</name>
    <message>
        <source>交流试验</source>
        <translation>AC Test</translation>
    </message>
    <message>
        <source>过流试验</source>
        <translation>O/C Test</translation>
    </message>
    <message>
        <source>状态序列</source>
        <translation>States</translation>
    </message>
    <message>
        <source>递变试验</source>
        <translation>Ramping</translation>
    </message>
    <message>
        <source>谐波试验</source>
        <translation>Harmon.</translation>
    </message>
    <message>
        <source>距离试验</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>低周减载</source>
        <translation>UFLS</translation>
    </message>
    <message>
        <source>低压减载</source>
        <translation>UVLS</translation>
    </message>
    <message>
        <source>直流试验</source>
        <translation>DC Test</translation>
    </message>
    <message>
        <source>震荡模拟</source>
        <translation>Swing</translation>
    </message>
    <message>
        <source>电能表</source>
        <translation>Energy</translation>
    </message>
    <message>
        <source>U盘不存在！请重新插入U盘。</source>
        <translation>No USB stick! Please insert it again.</translation>
    </message>
    <message>
        <source>确定导出选中的文件？同名文件会被覆盖</source>
        <translation>Export the selected files? Files of the same name are overwritten.</translation>
    </message>
    <message>
        <source>导出文件成功！</source>
        <translation>Export succeeded!</translation>
    </message>
    <message>
        <source>导出文件失败！</source>
        <translation>Export failed!</translation>
    </message>
    <message>
        <source>确定导入选中的文件？同名文件会被覆盖</source>
        <translation>Import the selected files? Files of the same name are overwritten.</translation>
    </message>
    <message>
        <source>导入文件成功！</source>
        <translation>Import succeeded!</translation>
    </message>
    <message>
        <source>导入文件失败！</source>
        <translation>Import failed!</translation>
    </message>
    <message>
        <source>确定删除选中的文件？</source>
        <translation>Delete the selected files?</translation>
    </message>
    <message>
        <source>删除文件成功！</source>
        <translation>Files deleted!</translation>
    </message>
    <message>
        <source>删除文件失败！</source>
        <translation>Delete failed!</translation>
    </message>
    <message>
        <source>设备内部</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Params</translation>
    </message>
    <message>
        <source>报告</source>
        <translation>Reports</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>选择</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>没有文件</source>
        <translation>No files</translation>
    </message>
    <message>
        <source>文件数</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>All</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Tips</translation>
    </message>
</context>
<context>
    <name>InputCharNumberPanel</name>
    <message>
        <source>回退</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Enter</translation>
    </message>
</context>
<context>
    <name>InputDateTimePanel</name>
    <message>
        <source>年</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>月</source>
        <translation>M</translation>
    </message>
    <message>
        <source>日</source>
        <translation>D</translation>
    </message>
    <message>
        <source>时</source>
        <translation>h</translation>
    </message>
    <message>
        <source>分</source>
        <translation>m</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
</context>
<context>
    <name>InputNumberPanel</name>
    <message>
        <source>回退</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Enter</translation>
    </message>
</context>
<context>
    <name>InputTimePanel</name>
    <message>
        <source>时</source>
        <translation>h</translation>
    </message>
    <message>
        <source>分</source>
        <translation>m</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
</context>
<context>
    <name>LoadSheddingPage</name>
    <message>
        <source>未复归</source>
        <translation>Not Reset</translation>
    </message>
    <message>
        <source>故障前时间</source>
        <translation>T.Prefault</translation>
    </message>
    <message>
        <source>保持时间</source>
        <translation>T.Hold</translation>
    </message>
    <message>
        <source>故障后时间</source>
        <translation>T.Postfault</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>NoTest</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>Testing</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>No Action</translation>
    </message>
    <message>
        <source>测试参数</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>综合参数</source>
        <translation>General</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>测试项目</source>
        <translation>Test Item</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Trip Value</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Trip Time</translation>
    </message>
</context>
<context>
    <name>MainWindowContent</name>
    <message>
        <source>电量不足</source>
        <translation>Battery &lt;</translation>
    </message>
    <message>
        <source>请及时充电</source>
        <translation>charge it</translation>
    </message>
    <message>
        <source>禁止5A及以上电流输出</source>
        <translation>I ≥ 5A off</translation>
    </message>
    <message>
        <source>禁止2A及以上电流输出</source>
        <translation>I ≥ 2A off</translation>
    </message>
    <message>
        <source>禁止实验</source>
        <translation>no tests</translation>
    </message>
    <message>
        <source>关闭电池放电</source>
        <translation>discharge off</translation>
    </message>
    <message>
        <source>设备未初始化</source>
        <translation>Device not initialised</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>是否退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>电池电量低于10%，请及时充电！</source>
        <translation>Battery below 10%, please charge it!</translation>
    </message>
</context>
<context>
    <name>MainWindowPage</name>
    <message>
        <source>交流试验</source>
        <translation>AC Test</translation>
    </message>
    <message>
        <source>过流试验</source>
        <translation>O/C Test</translation>
    </message>
    <message>
        <source>状态序列</source>
        <translation>States</translation>
    </message>
    <message>
        <source>递变试验</source>
        <translation>Ramping</translation>
    </message>
    <message>
        <source>谐波试验</source>
        <translation>Harmon.</translation>
    </message>
    <message>
        <source>距离试验</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>低周减载</source>
        <translation>UFLS</translation>
    </message>
    <message>
        <source>低压减载</source>
        <translation>UVLS</translation>
    </message>
    <message>
        <source>直流试验</source>
        <translation>DC Test</translation>
    </message>
    <message>
        <source>震荡模拟</source>
        <translation>Swing</translation>
    </message>
    <message>
        <source>电能表</source>
        <translation>Energy</translation>
    </message>
    <message>
        <source>文件管理</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>辅助直流</source>
        <translation>Aux. DC</translation>
    </message>
    <message>
        <source>系统设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>联机测试</source>
        <translation>Remote Control</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>本设备内置三元锂电池，请使用完后及时关闭电源开关，禁止设备开机状态下装箱存放。设备不可无电存放，会导致电池损坏，建议存放前保持70%以上电量。设备长期不充电会导致电池容量降低甚至电池损坏，我司建议设备至少3个月充电一次。</source>
        <translation>This device has a built-in lithium battery. Switch the power off after use and never pack the device while it is on. Storing it with a flat battery damages the battery: charge it above 70% before storage. Long periods without charging reduce the battery&apos;s capacity or damage it; we recommend charging the device at least every 3 months.</translation>
    </message>
    <message>
        <source>Output Aux.DC or not?</source>
        <translation>Output Aux.DC or not?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>ModelAlternatePage</name>
    <message>
        <source>额定</source>
        <translation>Nominal</translation>
    </message>
    <message>
        <source>平衡</source>
        <translation>Balance</translation>
    </message>
    <message>
        <source>正序</source>
        <translation>Positive</translation>
    </message>
    <message>
        <source>负序</source>
        <translation>Negative</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Setting</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Trigger</translation>
    </message>
    <message>
        <source>步长:</source>
        <translation>Step:</translation>
    </message>
    <message>
        <source>终值:</source>
        <translation>End:</translation>
    </message>
    <message>
        <source>自动时间:</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>变量选择:</source>
        <translation>Variable:</translation>
    </message>
    <message>
        <source>测试项目:</source>
        <translation>Item:</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>相位</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>变化方式:</source>
        <translation>Mode:</translation>
    </message>
    <message>
        <source>动作停止</source>
        <translation>From-to</translation>
    </message>
    <message>
        <source>动作返回</source>
        <translation>From-to-From</translation>
    </message>
    <message>
        <source>持续输出</source>
        <translation>Continuous</translation>
    </message>
    <message>
        <source>故障计算</source>
        <translation>Calc</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Trip Value</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Trip Time</translation>
    </message>
    <message>
        <source>返回系数</source>
        <translation>Return.Coeff</translation>
    </message>
</context>
<context>
    <name>ModelDirectPage</name>
    <message>
        <source>额定</source>
        <translation>Nominal</translation>
    </message>
    <message>
        <source>平衡</source>
        <translation>Balance</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Setting</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Trigger</translation>
    </message>
    <message>
        <source>步长:</source>
        <translation>Step:</translation>
    </message>
    <message>
        <source>终值:</source>
        <translation>End:</translation>
    </message>
    <message>
        <source>自动时间:</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>变量选择:</source>
        <translation>Variable:</translation>
    </message>
    <message>
        <source>测试项目:</source>
        <translation>Item:</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>变化方式:</source>
        <translation>Mode:</translation>
    </message>
    <message>
        <source>动作停止</source>
        <translation>From-to</translation>
    </message>
    <message>
        <source>动作返回</source>
        <translation>From-to-From</translation>
    </message>
    <message>
        <source>持续输出</source>
        <translation>Continuous</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Trip Value</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Trip Time</translation>
    </message>
    <message>
        <source>返回系数</source>
        <translation>Return.Coeff</translation>
    </message>
</context>
<context>
    <name>ModelDistancePage</name>
    <message>
        <source>反方向</source>
        <translation>Reverse</translation>
    </message>
    <message>
        <source>正方向</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>No Action</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>NoTest</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>Testing</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>测试参数</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>综合参数</source>
        <translation>General</translation>
    </message>
    <message>
        <source>时间触发</source>
        <translation>Time/Trigger</translation>
    </message>
    <message>
        <source>角</source>
        <translation>θ</translation>
    </message>
    <message>
        <source>故障类型</source>
        <translation>F-Type</translation>
    </message>
    <message>
        <source>故障方向</source>
        <translation>Fault Dir.</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>阻抗倍数</source>
        <translation>Z factors</translation>
    </message>
    <message>
        <source>阻抗值</source>
        <translation>Z</translation>
    </message>
    <message>
        <source>阻抗角</source>
        <translation>Z angle</translation>
    </message>
    <message>
        <source>偏差</source>
        <translation>Dev</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Trip Time</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>DI</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>计算模型</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>电流恒定</source>
        <translation>Const I</translation>
    </message>
    <message>
        <source>电压恒定</source>
        <translation>Const U</translation>
    </message>
    <message>
        <source>CT位置</source>
        <translation>CT Dir.</translation>
    </message>
    <message>
        <source>指向母线</source>
        <translation>Busbar</translation>
    </message>
    <message>
        <source>指向线路</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>PT位置</source>
        <translation>PT Dir.</translation>
    </message>
    <message>
        <source>在母线上</source>
        <translation>Busbar</translation>
    </message>
    <message>
        <source>在线路上</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>故障电压</source>
        <translation>Fault-U</translation>
    </message>
    <message>
        <source>故障电流</source>
        <translation>Fault-I</translation>
    </message>
    <message>
        <source>负荷电流</source>
        <translation>Load-I</translation>
    </message>
    <message>
        <source>负荷相角</source>
        <translation>Load-θ</translation>
    </message>
    <message>
        <source>零序补偿</source>
        <translation>Grounding</translation>
    </message>
    <message>
        <source>Z0/Z1幅值</source>
        <translation>Z0/Z1 R</translation>
    </message>
    <message>
        <source>KL幅值</source>
        <translation>KL Range</translation>
    </message>
    <message>
        <source>Z0/Z1角度</source>
        <translation>Z0/Z1 A</translation>
    </message>
    <message>
        <source>KL角度</source>
        <translation>KL Angle</translation>
    </message>
    <message>
        <source>时间绝对误差</source>
        <translation>Abs. tolerance</translation>
    </message>
    <message>
        <source>时间相对误差</source>
        <translation>Rel. tolerance</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>故障前时间</source>
        <translation>T.Prefault</translation>
    </message>
    <message>
        <source>故障后时间</source>
        <translation>T.Postfault</translation>
    </message>
    <message>
        <source>故障时间 = 最大整定时间  x</source>
        <translation>T.fault = max. T.nom  x</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Not Reset</translation>
    </message>
</context>
<context>
    <name>ModelEnergyPage</name>
    <message>
        <source>ind.</source>
        <translation>ind.</translation>
    </message>
    <message>
        <source>cap.</source>
        <translation>cap.</translation>
    </message>
    <message>
        <source>NoTest</source>
        <translation>NoTest</translation>
    </message>
    <message>
        <source>Testing</source>
        <translation>Testing</translation>
    </message>
    <message>
        <source>Passed</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>No Action</source>
        <translation>No Action</translation>
    </message>
    <message>
        <source>测试参数</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>综合参数</source>
        <translation>Meter</translation>
    </message>
    <message>
        <source>脉冲输出</source>
        <translation>Pulse output</translation>
    </message>
    <message>
        <source>Voltage</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>Current</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>Pulse</source>
        <translation>Pulse</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>Power</translation>
    </message>
    <message>
        <source>Factor</source>
        <translation>Factor</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Setting</translation>
    </message>
    <message>
        <source>Actual</source>
        <translation>Actual</translation>
    </message>
    <message>
        <source>Dev</source>
        <translation>Dev</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Meter type</source>
        <translation>Meter type</translation>
    </message>
    <message>
        <source>Active Power</source>
        <translation>Active</translation>
    </message>
    <message>
        <source>Reactive Power</source>
        <translation>Reactive</translation>
    </message>
    <message>
        <source>Apparent Power</source>
        <translation>Apparent</translation>
    </message>
    <message>
        <source>3P4W</source>
        <translation>3P4W</translation>
    </message>
    <message>
        <source>3P3W</source>
        <translation>3P3W</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>Single</translation>
    </message>
    <message>
        <source>Precision</source>
        <translation>Precision</translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>Quantity</translation>
    </message>
    <message>
        <source>Secondary</source>
        <translation>Secondary</translation>
    </message>
    <message>
        <source>Primary</source>
        <translation>Primary</translation>
    </message>
    <message>
        <source>Heat time</source>
        <translation>Heat time</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Start time</translation>
    </message>
    <message>
        <source>Pulse type</source>
        <translation>Pulse type</translation>
    </message>
    <message>
        <source>Rising</source>
        <translation>Rising</translation>
    </message>
    <message>
        <source>Falling</source>
        <translation>Falling</translation>
    </message>
    <message>
        <source>Pulse Count</source>
        <translation>Pulse Count</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Import/Export</source>
        <translation>Import/Export</translation>
    </message>
    <message>
        <source>Settling time</source>
        <translation>Settling</translation>
    </message>
    <message>
        <source>Pulse constant</source>
        <translation>Pulse constant</translation>
    </message>
    <message>
        <source>Whether to send a local pulse</source>
        <translation>Send local pulses</translation>
    </message>
</context>
<context>
    <name>ModelHarmonicPage</name>
    <message>
        <source>未动作</source>
        <translation>No Action</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>NoTest</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>Testing</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>上一波次</source>
        <translation>Prev</translation>
    </message>
    <message>
        <source>谐波次数:</source>
        <translation>Order:</translation>
    </message>
    <message>
        <source>后一波次</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Setting</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Trigger</translation>
    </message>
    <message>
        <source>步长:</source>
        <translation>Step:</translation>
    </message>
    <message>
        <source>终值:</source>
        <translation>End:</translation>
    </message>
    <message>
        <source>自动时间:</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>整定时间:</source>
        <translation>T.nom:</translation>
    </message>
    <message>
        <source>偏差:</source>
        <translation>Dev:</translation>
    </message>
    <message>
        <source>变量选择:</source>
        <translation>Variable:</translation>
    </message>
    <message>
        <source>测试项目:</source>
        <translation>Item:</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Ampl.</translation>
    </message>
    <message>
        <source>相位</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>动作停止</source>
        <translation>From-to</translation>
    </message>
    <message>
        <source>谐波含量:</source>
        <translation>THD:</translation>
    </message>
    <message>
        <source>AMP</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>百分比</source>
        <translation>Percentage</translation>
    </message>
    <message>
        <source>测试结果</source>
        <translation>Test Result</translation>
    </message>
    <message>
        <source>变量</source>
        <translation>Variable</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Trip Value</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Trip Time</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>DI</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
</context>
<context>
    <name>ModelOscillatePage</name>
    <message>
        <source>额定</source>
        <translation>Nominal</translation>
    </message>
    <message>
        <source>平衡</source>
        <translation>Balance</translation>
    </message>
    <message>
        <source>正序</source>
        <translation>Positive</translation>
    </message>
    <message>
        <source>负序</source>
        <translation>Negative</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Setting</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Trigger</translation>
    </message>
    <message>
        <source>百分比</source>
        <translation>Percent</translation>
    </message>
    <message>
        <source>相角</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>变量选择:</source>
        <translation>Variable:</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Trip Value</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Trip Time</translation>
    </message>
</context>
<context>
    <name>ModelOvercurrentPage</name>
    <message>
        <source>未动作</source>
        <translation>No Action</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>NoTest</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>Testing</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>测试参数</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>综合参数</source>
        <translation>General</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Trigger</translation>
    </message>
    <message>
        <source>曲线图</source>
        <translation>Curve</translation>
    </message>
    <message>
        <source>Inst. Overcurrent</source>
        <translation>Inst. Overcurrent</translation>
    </message>
    <message>
        <source>Pick-up</source>
        <translation>Pick-up</translation>
    </message>
    <message>
        <source>Dial Time</source>
        <translation>Dial Time</translation>
    </message>
    <message>
        <source>Function</source>
        <translation>Function</translation>
    </message>
    <message>
        <source>Fault-Type</source>
        <translation>Fault-Type</translation>
    </message>
    <message>
        <source>Time Overcurrent</source>
        <translation>Time Overcurrent</translation>
    </message>
    <message>
        <source>I test</source>
        <translation>I test</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Multi</source>
        <translation>Multi</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Current Tol</source>
        <translation>Current Tol</translation>
    </message>
    <message>
        <source>电流允许绝对偏差</source>
        <translation>Current Tol abs.</translation>
    </message>
    <message>
        <source>Max Fault Time</source>
        <translation>Max Fault Time</translation>
    </message>
    <message>
        <source>Time Tol</source>
        <translation>Time Tol</translation>
    </message>
    <message>
        <source>时间允许绝对偏差</source>
        <translation>Time Tol abs.</translation>
    </message>
    <message>
        <source>辅助故障电压</source>
        <translation>Aux. fault U</translation>
    </message>
    <message>
        <source>故障前时间:</source>
        <translation>Prefault:</translation>
    </message>
    <message>
        <source>间隔时间:</source>
        <translation>Interval:</translation>
    </message>
    <message>
        <source>Fault VPN</source>
        <translation>Fault VPN</translation>
    </message>
    <message>
        <source>仅输出一次</source>
        <translation>Output Once</translation>
    </message>
    <message>
        <source>I-Angle</source>
        <translation>I-Angle</translation>
    </message>
    <message>
        <source>故障类型</source>
        <translation>F-Type</translation>
    </message>
    <message>
        <source>绝对值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>最小时间</source>
        <translation>T.min</translation>
    </message>
    <message>
        <source>最大时间</source>
        <translation>T.max</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Trip Time</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>DI</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Not Reset</translation>
    </message>
    <message>
        <source>Curve</source>
        <translation>Curve</translation>
    </message>
</context>
<context>
    <name>ModelRampingPage</name>
    <message>
        <source>未测试</source>
        <translation>NoTest</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>Testing</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>偏差</source>
        <translation>Dev</translation>
    </message>
    <message>
        <source>电压</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>电流</source>
        <translation>Current</translation>
    </message>
    <message>
        <source>额定</source>
        <translation>Nominal</translation>
    </message>
    <message>
        <source>平衡</source>
        <translation>Balance</translation>
    </message>
    <message>
        <source>正序</source>
        <translation>Positive</translation>
    </message>
    <message>
        <source>负序</source>
        <translation>Negative</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Setting</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Trigger</translation>
    </message>
    <message>
        <source>步长:</source>
        <translation>Step:</translation>
    </message>
    <message>
        <source>终值:</source>
        <translation>End:</translation>
    </message>
    <message>
        <source>步长时间:</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>变量选择:</source>
        <translation>Variable:</translation>
    </message>
    <message>
        <source>测试项目:</source>
        <translation>Item:</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Ampl.</translation>
    </message>
    <message>
        <source>相位</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Freq.</translation>
    </message>
    <message>
        <source>功能:</source>
        <translation>Function:</translation>
    </message>
    <message>
        <source>输出方式:</source>
        <translation>Angle:</translation>
    </message>
    <message>
        <source>连续</source>
        <translation>Continuous</translation>
    </message>
    <message>
        <source>Abs.Angle</source>
        <translation>Abs.Angle</translation>
    </message>
    <message>
        <source>故障前时间:</source>
        <translation>T.Prefault:</translation>
    </message>
    <message>
        <source>间隔时间:</source>
        <translation>T.Interval:</translation>
    </message>
    <message>
        <source>仅输出一次</source>
        <translation>Output Once</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>测试结果</source>
        <translation>Test Result</translation>
    </message>
    <message>
        <source>变量</source>
        <translation>Variable</translation>
    </message>
    <message>
        <source>功能</source>
        <translation>Function</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Trip Time</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Trip Value</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>DI</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Not Reset</translation>
    </message>
</context>
<context>
    <name>ModelSettingsPage</name>
    <message>
        <source>系统配置</source>
        <translation>System</translation>
    </message>
    <message>
        <source>硬件配置</source>
        <translation>Hardware</translation>
    </message>
    <message>
        <source>电池配置</source>
        <translation>Battery</translation>
    </message>
    <message>
        <source>对时设置</source>
        <translation>Time Sync</translation>
    </message>
    <message>
        <source>输出校准</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>额定电压:</source>
        <translation>Rated U:</translation>
    </message>
    <message>
        <source>额定电流:</source>
        <translation>Rated I:</translation>
    </message>
    <message>
        <source>额定频率:</source>
        <translation>Rated f:</translation>
    </message>
    <message>
        <source>防抖时间:</source>
        <translation>Deglitch:</translation>
    </message>
    <message>
        <source>屏保时间</source>
        <translation>Saver</translation>
    </message>
    <message>
        <source>系统时间:</source>
        <translation>Clock:</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>系统语言:</source>
        <translation>Lang.:</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>Chinese</translation>
    </message>
    <message>
        <source>英文</source>
        <translation>English</translation>
    </message>
    <message>
        <source>葡萄牙文</source>
        <translation>Portuguese</translation>
    </message>
    <message>
        <source>输出方式</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>功放输出</source>
        <translation>Amplifier</translation>
    </message>
    <message>
        <source>小信号</source>
        <translation>Low level</translation>
    </message>
    <message>
        <source>按键音</source>
        <translation>Key beep</translation>
    </message>
    <message>
        <source>系统主题:</source>
        <translation>Theme:</translation>
    </message>
    <message>
        <source>系统默认</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>黑色高亮</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>机器型号:</source>
        <translation>Model:</translation>
    </message>
    <message>
        <source>软件版本:</source>
        <translation>SW:</translation>
    </message>
    <message>
        <source>机器编号:</source>
        <translation>S/N:</translation>
    </message>
    <message>
        <source>固件版本:</source>
        <translation>FW:</translation>
    </message>
    <message>
        <source>软件升级</source>
        <translation>Upgrade</translation>
    </message>
    <message>
        <source>请输入密码...</source>
        <translation>Enter password...</translation>
    </message>
    <message>
        <source>请重新输入密码...</source>
        <translation>Re-enter password...</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>是否需要切换系统语言？</source>
        <translation>Change the system language?</translation>
    </message>
</context>
<context>
    <name>ModelSlipFrequencyPage</name>
    <message>
        <source>频率始值</source>
        <translation>f Start</translation>
    </message>
    <message>
        <source>频率终值</source>
        <translation>f End</translation>
    </message>
    <message>
        <source>频率滑差</source>
        <translation>df/dt</translation>
    </message>
    <message>
        <source>动作频率</source>
        <translation>Trip Freq.</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Trip Time</translation>
    </message>
    <message>
        <source>低流闭锁</source>
        <translation>Low-I Block</translation>
    </message>
    <message>
        <source>电压闭锁</source>
        <translation>U Block</translation>
    </message>
    <message>
        <source>频率步长</source>
        <translation>f Step</translation>
    </message>
    <message>
        <source>计时频率</source>
        <translation>f Timing</translation>
    </message>
    <message>
        <source>滑差始值</source>
        <translation>Rate Start</translation>
    </message>
    <message>
        <source>滑差终值</source>
        <translation>Rate End</translation>
    </message>
    <message>
        <source>滑差步长</source>
        <translation>Rate Step</translation>
    </message>
    <message>
        <source>电流始值</source>
        <translation>I Start</translation>
    </message>
    <message>
        <source>电流终值</source>
        <translation>I End</translation>
    </message>
    <message>
        <source>电流步长</source>
        <translation>I Step</translation>
    </message>
    <message>
        <source>电压始值</source>
        <translation>U Start</translation>
    </message>
    <message>
        <source>电压终值</source>
        <translation>U End</translation>
    </message>
    <message>
        <source>电压步长</source>
        <translation>U Step</translation>
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
        <translation>Trip Volt.</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Trip Time</translation>
    </message>
    <message>
        <source>低流闭锁</source>
        <translation>Low-I Block</translation>
    </message>
    <message>
        <source>电压始值</source>
        <translation>U Start</translation>
    </message>
    <message>
        <source>电压终值</source>
        <translation>U End</translation>
    </message>
    <message>
        <source>电压步长</source>
        <translation>U Step</translation>
    </message>
    <message>
        <source>计时电压</source>
        <translation>U Timing</translation>
    </message>
    <message>
        <source>滑差始值</source>
        <translation>Rate Start</translation>
    </message>
    <message>
        <source>滑差终值</source>
        <translation>Rate End</translation>
    </message>
    <message>
        <source>滑差步长</source>
        <translation>Rate Step</translation>
    </message>
    <message>
        <source>电流始值</source>
        <translation>I Start</translation>
    </message>
    <message>
        <source>电流终值</source>
        <translation>I End</translation>
    </message>
    <message>
        <source>电流步长</source>
        <translation>I Step</translation>
    </message>
</context>
<context>
    <name>ModelStateSequencePage</name>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>Testing</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>No Action</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>NoTest</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>DI</translation>
    </message>
    <message>
        <source>开出</source>
        <translation>DO</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>偏差</source>
        <translation>Dev</translation>
    </message>
    <message>
        <source>上一状态</source>
        <translation>Prev</translation>
    </message>
    <message>
        <source>后一状态</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>插入状态</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>添加状态</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除状态</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>电压</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>电流</source>
        <translation>Current</translation>
    </message>
    <message>
        <source>额定</source>
        <translation>Nominal</translation>
    </message>
    <message>
        <source>平衡</source>
        <translation>Balance</translation>
    </message>
    <message>
        <source>正序</source>
        <translation>Positive</translation>
    </message>
    <message>
        <source>负序</source>
        <translation>Negative</translation>
    </message>
    <message>
        <source>触发方式:</source>
        <translation>Trip:</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>接点</source>
        <translation>Binary</translation>
    </message>
    <message>
        <source>时间+接点</source>
        <translation>Time+Binary</translation>
    </message>
    <message>
        <source>故障计算</source>
        <translation>Calc</translation>
    </message>
    <message>
        <source>输出方式:</source>
        <translation>Angle:</translation>
    </message>
    <message>
        <source>连续</source>
        <translation>Continuous</translation>
    </message>
    <message>
        <source>Abs.Angle</source>
        <translation>Abs.Angle</translation>
    </message>
    <message>
        <source>时间:</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>时间设置</source>
        <translation>Trigger</translation>
    </message>
    <message>
        <source>逻辑:</source>
        <translation>Logic:</translation>
    </message>
    <message>
        <source>与</source>
        <translation>And</translation>
    </message>
    <message>
        <source>或</source>
        <translation>Or</translation>
    </message>
    <message>
        <source>开入:</source>
        <translation>DI:</translation>
    </message>
    <message>
        <source>开出:</source>
        <translation>DO:</translation>
    </message>
    <message>
        <source>测试结果</source>
        <translation>Test Result</translation>
    </message>
    <message>
        <source>评估结果</source>
        <translation>Assessment</translation>
    </message>
    <message>
        <source>事件记录</source>
        <translation>Event Recorder</translation>
    </message>
    <message>
        <source>开入量1</source>
        <translation>DI 1</translation>
    </message>
    <message>
        <source>开入量2</source>
        <translation>DI 2</translation>
    </message>
    <message>
        <source>开入量3</source>
        <translation>DI 3</translation>
    </message>
    <message>
        <source>开入量4</source>
        <translation>DI 4</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>实际时间</source>
        <translation>Act Time</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>信号</source>
        <translation>Signal Name</translation>
    </message>
    <message>
        <source>状态变换</source>
        <translation>Slope</translation>
    </message>
</context>
<context>
    <name>ModelStdSourcePage</name>
    <message>
        <source>单项有功功率</source>
        <translation>Single-phase active power</translation>
    </message>
    <message>
        <source>三相四线(Y型接法)有功功率</source>
        <translation>3-phase 4-wire (Y) active power</translation>
    </message>
    <message>
        <source>三相三线(V型接法)有功功率</source>
        <translation>3-phase 3-wire (V) active power</translation>
    </message>
    <message>
        <source>三相三线(△型接法)有功功率</source>
        <translation>3-phase 3-wire (Δ) active power</translation>
    </message>
    <message>
        <source>三相四线(Y型接法)真无功功率</source>
        <translation>3-phase 4-wire (Y) true reactive power</translation>
    </message>
    <message>
        <source>三相三线(V型接法)真无功功率</source>
        <translation>3-phase 3-wire (V) true reactive power</translation>
    </message>
    <message>
        <source>三相三线(△型接法)真无功功率</source>
        <translation>3-phase 3-wire (Δ) true reactive power</translation>
    </message>
    <message>
        <source>三元件90°无功功率</source>
        <translation>3-element 90° reactive power</translation>
    </message>
    <message>
        <source>二元件90°无功功率</source>
        <translation>2-element 90° reactive power</translation>
    </message>
    <message>
        <source>分元无效</source>
        <translation>Not applicable</translation>
    </message>
    <message>
        <source>三元件</source>
        <translation>3 elements</translation>
    </message>
    <message>
        <source>A元件</source>
        <translation>Element A</translation>
    </message>
    <message>
        <source>B元件</source>
        <translation>Element B</translation>
    </message>
    <message>
        <source>C元件</source>
        <translation>Element C</translation>
    </message>
    <message>
        <source>二元件</source>
        <translation>2 elements</translation>
    </message>
    <message>
        <source>工作方式</source>
        <translation>Work mode</translation>
    </message>
    <message>
        <source>功率因数</source>
        <translation>cos φ</translation>
    </message>
    <message>
        <source>功率相角</source>
        <translation>Angle φ</translation>
    </message>
    <message>
        <source>分元选择</source>
        <translation>Element</translation>
    </message>
    <message>
        <source>电压幅值</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>电流幅值</source>
        <translation>Current</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>有功功率</source>
        <translation>P act.</translation>
    </message>
    <message>
        <source>无功功率</source>
        <translation>Q react.</translation>
    </message>
    <message>
        <source>视在功率</source>
        <translation>S app.</translation>
    </message>
</context>
<context>
    <name>ModelSystemCalPage</name>
    <message>
        <source>小信号</source>
        <translation>Low level</translation>
    </message>
    <message>
        <source>功放</source>
        <translation>Amplifier</translation>
    </message>
    <message>
        <source>零偏</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Ampl.</translation>
    </message>
    <message>
        <source>直流幅值</source>
        <translation>DC</translation>
    </message>
    <message>
        <source>交流零偏</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>交流幅值</source>
        <translation>Ampl.</translation>
    </message>
    <message>
        <source>交流相位</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>交流频率</source>
        <translation>Freq.</translation>
    </message>
    <message>
        <source>幅频特性</source>
        <translation>Ampl./f</translation>
    </message>
    <message>
        <source>辅助直流</source>
        <translation>Aux DC</translation>
    </message>
    <message>
        <source>是否需要保存校准系数？</source>
        <translation>Save the calibration coefficients?</translation>
    </message>
    <message>
        <source>导出系数</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>导入系数</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>校准系数导出成功!</source>
        <translation>Coefficients exported!</translation>
    </message>
    <message>
        <source>没有可导出校准系数文件!</source>
        <translation>No coefficient files to export!</translation>
    </message>
    <message>
        <source>校准系数导入成功!</source>
        <translation>Coefficients imported!</translation>
    </message>
    <message>
        <source>没有可导入校准系数文件!</source>
        <translation>No coefficient files to import!</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>加载</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>删除选中</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>删除全部</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>ModelSystemCfgPage</name>
    <message>
        <source>机器型号:</source>
        <translation>Model:</translation>
    </message>
    <message>
        <source>机器编号:</source>
        <translation>S/N:</translation>
    </message>
    <message>
        <source>保护温度:</source>
        <translation>Temp. limit:</translation>
    </message>
    <message>
        <source>恢复温度:</source>
        <translation>Temp. reset:</translation>
    </message>
    <message>
        <source>最大输出电压:</source>
        <translation>Max. U:</translation>
    </message>
    <message>
        <source>电压档位:</source>
        <translation>U range:</translation>
    </message>
    <message>
        <source>最大输出电流:</source>
        <translation>Max. I:</translation>
    </message>
    <message>
        <source>电流档位:</source>
        <translation>I range:</translation>
    </message>
    <message>
        <source>电压功放相数:</source>
        <translation>U phases:</translation>
    </message>
    <message>
        <source>电流功放相数:</source>
        <translation>I phases:</translation>
    </message>
    <message>
        <source>功放类型</source>
        <translation>Amp. type</translation>
    </message>
    <message>
        <source>模拟功放</source>
        <translation>Analog</translation>
    </message>
    <message>
        <source>数字功放</source>
        <translation>Digital</translation>
    </message>
    <message>
        <source>AuxDC Type</source>
        <translation>AuxDC Type</translation>
    </message>
    <message>
        <source>Constant</source>
        <translation>Constant</translation>
    </message>
    <message>
        <source>Adjustable</source>
        <translation>Adjustable</translation>
    </message>
    <message>
        <source>AuxDC Max</source>
        <translation>AuxDC Max</translation>
    </message>
    <message>
        <source>AuxDC Enable</source>
        <translation>AuxDC Enable</translation>
    </message>
    <message>
        <source>电池配置</source>
        <translation>Battery</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>ModelSystemTimeSynPage</name>
    <message>
        <source>时钟源</source>
        <translation>Clock source</translation>
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
        <translation>Zone</translation>
    </message>
    <message>
        <source>自动调整夏令时</source>
        <translation>Auto DST</translation>
    </message>
    <message>
        <source>外部触发输入</source>
        <translation>Ext. trigger input</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>对时脉冲</source>
        <translation>Sync</translation>
    </message>
    <message>
        <source>外部脉冲</source>
        <translation>Ext. pulse</translation>
    </message>
    <message>
        <source>方式</source>
        <translation>Edge</translation>
    </message>
    <message>
        <source>下降沿</source>
        <translation>Falling</translation>
    </message>
    <message>
        <source>上升沿</source>
        <translation>Rising</translation>
    </message>
    <message>
        <source>外部触发输出</source>
        <translation>Ext. trigger output</translation>
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
        <translation>Apply</translation>
    </message>
    <message>
        <source>时区列表无法读取：不显示时区，时钟不按时区偏移。</source>
        <translation>The time-zone list could not be read: no zone is shown and the clock takes no zone offset.</translation>
    </message>
</context>
<context>
    <name>ModelUartBatCfgPage</name>
    <message>
        <source>总电压:</source>
        <translation>Total U:</translation>
    </message>
    <message>
        <source>平均电压:</source>
        <translation>Avg. U:</translation>
    </message>
    <message>
        <source>最高电压:</source>
        <translation>Max. U:</translation>
    </message>
    <message>
        <source>最低电压:</source>
        <translation>Min. U:</translation>
    </message>
    <message>
        <source>压差:</source>
        <translation>Delta U:</translation>
    </message>
    <message>
        <source>电流:</source>
        <translation>Current:</translation>
    </message>
    <message>
        <source>标称容量:</source>
        <translation>Capacity:</translation>
    </message>
    <message>
        <source>剩余容量:</source>
        <translation>Remain:</translation>
    </message>
    <message>
        <source>循环次数:</source>
        <translation>Cycles:</translation>
    </message>
    <message>
        <source>软件版本:</source>
        <translation>SW:</translation>
    </message>
    <message>
        <source>保护状态:</source>
        <translation>Protect:</translation>
    </message>
    <message>
        <source>MOS状态:</source>
        <translation>MOS:</translation>
    </message>
    <message>
        <source>ContinueT</source>
        <translation>ContinueT</translation>
    </message>
    <message>
        <source>Battery Type</source>
        <translation>Battery Type</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>Battery</translation>
    </message>
    <message>
        <source>激活充电</source>
        <translation>Activate charging</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>是否需要激活充电？</source>
        <translation>Activate charging?</translation>
    </message>
</context>
<context>
    <name>ModuleFileDialog</name>
    <message>
        <source>参数文件已存在, 确定要覆盖文件?</source>
        <translation>The file already exists. Are you sure to overwrite it?</translation>
    </message>
    <message>
        <source>保存参数成功！</source>
        <translation>Save parameters succeed !</translation>
    </message>
    <message>
        <source>保存参数失败！</source>
        <translation>Save parameters failed !</translation>
    </message>
    <message>
        <source>报告文件已存在, 确定要覆盖文件?</source>
        <translation>The file already exists. Are you sure to overwrite it?</translation>
    </message>
    <message>
        <source>保存报告成功！</source>
        <translation>Save Report succeed!</translation>
    </message>
    <message>
        <source>保存报告失败！</source>
        <translation>Save Report failed!</translation>
    </message>
    <message>
        <source>导入参数成功！</source>
        <translation>Import file succeed !</translation>
    </message>
    <message>
        <source>导入参数失败！</source>
        <translation>Import file failed !</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Tips</translation>
    </message>
</context>
<context>
    <name>PageBottomBar</name>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>开入:</source>
        <translation>DI:</translation>
    </message>
    <message>
        <source>开出:</source>
        <translation>DO:</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
</context>
<context>
    <name>PageMessageDialog</name>
    <message>
        <source>系统提示</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>PageTriggerPanel</name>
    <message>
        <source>逻辑:</source>
        <translation>Logic:</translation>
    </message>
    <message>
        <source>与</source>
        <translation>And</translation>
    </message>
    <message>
        <source>或</source>
        <translation>Or</translation>
    </message>
    <message>
        <source>开入:</source>
        <translation>DI:</translation>
    </message>
    <message>
        <source>开出:</source>
        <translation>DO:</translation>
    </message>
</context>
<context>
    <name>ParameterFileFlow</name>
    <message>
        <source>参数文件已存在, 确定要覆盖文件?</source>
        <translation>The file already exists. Are you sure to overwrite it?</translation>
    </message>
    <message>
        <source>保存参数成功！</source>
        <translation>Save parameters succeed !</translation>
    </message>
    <message>
        <source>保存参数失败！</source>
        <translation>Save parameters failed !</translation>
    </message>
    <message>
        <source>报告文件已存在, 确定要覆盖文件?</source>
        <translation>The file already exists. Are you sure to overwrite it?</translation>
    </message>
    <message>
        <source>保存报告成功！</source>
        <translation>Save Report succeed!</translation>
    </message>
    <message>
        <source>保存报告失败！</source>
        <translation>Save Report failed!</translation>
    </message>
    <message>
        <source>导入参数成功！</source>
        <translation>Import file succeed !</translation>
    </message>
    <message>
        <source>导入参数失败！</source>
        <translation>Import file failed !</translation>
    </message>
</context>
<context>
    <name>PointResultList</name>
    <message>
        <source>测试结果</source>
        <translation>Test Result</translation>
    </message>
</context>
<context>
    <name>UpgradeDialog</name>
    <message>
        <source>文件已找到,请核对版本号!点击确定开始升级！</source>
        <translation>File found, please check the version! Press OK to start the upgrade!</translation>
    </message>
    <message>
        <source>升级文件不存在！请重新插入U盘。</source>
        <translation>No upgrade file! Please insert the USB stick again.</translation>
    </message>
    <message>
        <source>升级失败！请联系技术支持。</source>
        <translation>Upgrade failed! Please contact technical support.</translation>
    </message>
    <message>
        <source>正在升级!升级完成自动重启。</source>
        <translation>Upgrading! The device restarts when done.</translation>
    </message>
</context>
<context>
    <name>UserAuxDCDialog</name>
    <message>
        <source>辅助直流输出设置</source>
        <translation>Aux. DC Output</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
</context>
<context>
    <name>UserDialogFrame</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>UserExportCalDialog</name>
    <message>
        <source>导出校准系数</source>
        <translation>Export coefficients</translation>
    </message>
    <message>
        <source>小信号</source>
        <translation>Low level</translation>
    </message>
    <message>
        <source>电压功放</source>
        <translation>U amp.</translation>
    </message>
    <message>
        <source>电流功放</source>
        <translation>I amp.</translation>
    </message>
    <message>
        <source>备份文件夹：</source>
        <translation>Backup folder:</translation>
    </message>
    <message>
        <source>U盘不存在！</source>
        <translation>No USB stick!</translation>
    </message>
</context>
<context>
    <name>UserInputDialog</name>
    <message>
        <source>请输入</source>
        <translation>Please enter</translation>
    </message>
</context>
<context>
    <name>UserMultiDialog</name>
    <message>
        <source>添加多点</source>
        <translation>Add Points</translation>
    </message>
    <message>
        <source>Begin</source>
        <translation>Begin</translation>
    </message>
    <message>
        <source>End</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Step</translation>
    </message>
</context>
<context>
    <name>UserPasswordDialog</name>
    <message>
        <source>请输入密码...</source>
        <translation>Enter password...</translation>
    </message>
</context>
<context>
    <name>UserReportDialog</name>
    <message>
        <source>保存或导出报告。</source>
        <translation>Save or export the report.</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
</context>
<context>
    <name>UserReportParmDialog</name>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>报告</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>从文件配置参数</source>
        <translation>Load file</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>File name</translation>
    </message>
</context>
<context>
    <name>UserSelectedDialog</name>
    <message>
        <source>请选择</source>
        <translation>Please select</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
</context>
<context>
    <name>UserTriggerTimeDialog</name>
    <message>
        <source>触发时间设置</source>
        <translation>Trigger Times</translation>
    </message>
    <message>
        <source>时间列表</source>
        <translation>Time list</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>开始时间</source>
        <translation>Start time</translation>
    </message>
    <message>
        <source>时间间隔</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>个数</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>添加时间点</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除时间点</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>清除时间点</source>
        <translation>Clear</translation>
    </message>
</context>
<context>
    <name>UserUpgradeDialog</name>
    <message>
        <source>升级文件:</source>
        <translation>Upgrade file:</translation>
    </message>
    <message>
        <source>软件升级</source>
        <translation>Upgrade</translation>
    </message>
</context>
<context>
    <name>ViewAlternateModel</name>
    <message>
        <source>故障无法计算，输出值未改变：请检查短路阻抗和计算模型。</source>
        <translation>The fault cannot be calculated; outputs unchanged: check the short-circuit impedance and the model.</translation>
    </message>
    <message>
        <source>Variable port</source>
        <translation>Variable phase</translation>
    </message>
    <message>
        <source>Action value</source>
        <translation>Action value</translation>
    </message>
    <message>
        <source>Return value</source>
        <translation>Return value</translation>
    </message>
    <message>
        <source>Return Coefficient</source>
        <translation>Return Coefficient</translation>
    </message>
    <message>
        <source>Action time</source>
        <translation>Action time</translation>
    </message>
    <message>
        <source>Return time</source>
        <translation>Return time</translation>
    </message>
</context>
<context>
    <name>ViewBaseModel</name>
    <message>
        <source>电压高压引入告警</source>
        <translation>Alarm: external HV on U outputs</translation>
    </message>
    <message>
        <source>小信号高压引入告警</source>
        <translation>Alarm: external HV on low-level outputs</translation>
    </message>
    <message>
        <source>电压短路告警</source>
        <translation>Alarm: voltage short circuit</translation>
    </message>
    <message>
        <source>功放高温告警</source>
        <translation>Alarm: amplifier overtemperature</translation>
    </message>
    <message>
        <source>电流IA开路告警</source>
        <translation>Alarm: current IA open circuit</translation>
    </message>
    <message>
        <source>电流IB开路告警</source>
        <translation>Alarm: current IB open circuit</translation>
    </message>
    <message>
        <source>电流IC开路告警</source>
        <translation>Alarm: current IC open circuit</translation>
    </message>
    <message>
        <source>电流IX开路告警</source>
        <translation>Alarm: current IX open circuit</translation>
    </message>
    <message>
        <source>内部存储较低</source>
        <translation>Internal storage low</translation>
    </message>
    <message>
        <source>电压功放</source>
        <translation>Voltage amp.</translation>
    </message>
    <message>
        <source>电流功放</source>
        <translation>Current amp.</translation>
    </message>
    <message>
        <source>充电开/</source>
        <translation>Charge on/</translation>
    </message>
    <message>
        <source>充电关/</source>
        <translation>Charge off/</translation>
    </message>
    <message>
        <source>放电开</source>
        <translation>Discharge on</translation>
    </message>
    <message>
        <source>放电关</source>
        <translation>Discharge off</translation>
    </message>
    <message>
        <source>AC Test</source>
        <translation>AC Test</translation>
    </message>
    <message>
        <source>Harmonic Test</source>
        <translation>Harmonic Test</translation>
    </message>
    <message>
        <source>State Sequence</source>
        <translation>State Sequence</translation>
    </message>
    <message>
        <source>Distance Test</source>
        <translation>Distance Test</translation>
    </message>
    <message>
        <source>Ramping Test</source>
        <translation>Ramping Test</translation>
    </message>
    <message>
        <source>Overcurrent Test</source>
        <translation>Overcurrent Test</translation>
    </message>
    <message>
        <source>DC Test</source>
        <translation>DC Test</translation>
    </message>
    <message>
        <source>Energy Test</source>
        <translation>Energy Test</translation>
    </message>
    <message>
        <source>Slip Frequency</source>
        <translation>Slip Frequency</translation>
    </message>
    <message>
        <source>Slip Voltage</source>
        <translation>Slip Voltage</translation>
    </message>
    <message>
        <source>Oscillate Test</source>
        <translation>Oscillate Test</translation>
    </message>
    <message>
        <source>Standard Source</source>
        <translation>Standard Source</translation>
    </message>
    <message>
        <source>Test Report</source>
        <translation>Test Report</translation>
    </message>
    <message>
        <source>Customer</source>
        <translation>Customer</translation>
    </message>
    <message>
        <source>PO No</source>
        <translation>PO No</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Contact No</source>
        <translation>Contact No</translation>
    </message>
    <message>
        <source>Test Module</source>
        <translation>Test Module</translation>
    </message>
    <message>
        <source>Test item</source>
        <translation>Test item</translation>
    </message>
    <message>
        <source>Test time</source>
        <translation>Test time</translation>
    </message>
    <message>
        <source>Device Under Test</source>
        <translation>Device Under Test</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Ser. No</source>
        <translation>Ser. No</translation>
    </message>
    <message>
        <source>Equipment Use</source>
        <translation>Equipment Use</translation>
    </message>
    <message>
        <source>Test Setting</source>
        <translation>Test Setting</translation>
    </message>
    <message>
        <source>Test Result</source>
        <translation>Test Result</translation>
    </message>
    <message>
        <source>Passed</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>Remarks</source>
        <translation>Remarks</translation>
    </message>
    <message>
        <source>Tested by</source>
        <translation>Tested by</translation>
    </message>
    <message>
        <source>Checked by</source>
        <translation>Checked by</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>配置文件 %1 无法读取，其中的设置按默认值运行；原文件予以保留。</source>
        <translation>The configuration file %1 cannot be read: its settings run on their defaults. The file itself is kept.</translation>
    </message>
    <message>
        <source>以下校准文件已损坏，无法读取的校准系数按默认值运行：%1</source>
        <translation>These calibration files are damaged; the coefficients that could not be read run on their defaults: %1</translation>
    </message>
    <message>
        <source>有输出值不是有效数值或超出范围，试验未开始。</source>
        <translation>An output value is not a valid number or is out of range: the test was not started.</translation>
    </message>
    <message>
        <source>状态数或测试点数超出允许范围，试验未开始。</source>
        <translation>The number of states or test points is out of range: the test was not started.</translation>
    </message>
    <message>
        <source>变化步数过多，超出仪器可输出的状态数，试验未开始。</source>
        <translation>Too many ramp steps, more states than the instrument can output: the test was not started.</translation>
    </message>
    <message>
        <source>功率和电能表常数都必须大于零，否则无法输出脉冲，试验未开始。</source>
        <translation>Power and meter constant must both be greater than zero to give pulses: the test was not started.</translation>
    </message>
    <message>
        <source>脉冲周期超出仪器可输出的范围，试验未开始。</source>
        <translation>The pulse period is beyond what the instrument can output: the test was not started.</translation>
    </message>
    <message>
        <source>有输出值不是有效数值，或滑差不大于零，试验未开始。</source>
        <translation>An output value is not a valid number, or a slip rate is not above zero: the test was not started.</translation>
    </message>
    <message>
        <source>步长为零，永远达不到终值，试验未开始。</source>
        <translation>A step of zero never reaches the end value: the test was not started.</translation>
    </message>
    <message>
        <source>仪器未能接受输出设置，试验未开始。</source>
        <translation>The instrument did not accept the output settings: the test was not started.</translation>
    </message>
    <message>
        <source>设备未初始化</source>
        <translation>Device not initialised</translation>
    </message>
    <message>
        <source>功放温度过高，请待其冷却后再开始试验。</source>
        <translation>The power amplifiers are too hot: let them cool down before starting a test.</translation>
    </message>
    <message>
        <source>联机测试无法启动，网络服务未能开启。</source>
        <translation>Remote control could not be switched on: the network service did not start.</translation>
    </message>
    <message>
        <source>联机测试无法启动：端口 %1 无法使用（%2）。</source>
        <translation>Remote control could not be switched on: port %1 cannot be used (%2).</translation>
    </message>
    <message>
        <source>状态%1至%2合计不足%3毫秒，仪器的8个输出页来不及补充，试验未开始。</source>
        <translation>States %1 to %2 together last less than %3 ms: too short for the instrument&apos;s eight output pages to be refilled in time. The test was not started.</translation>
    </message>
    <message>
        <source>递变将使%1达到%2，超出其输出范围%3至%4，试验未开始。</source>
        <translation>The ramp would take %1 to %2, outside the %3 to %4 its output gives: the test was not started.</translation>
    </message>
    <message>
        <source>%1 = %2 超出 %3 … %4。</source>
        <translation>%1 = %2 lies outside %3 … %4.</translation>
    </message>
    <message>
        <source>%1 = “%2” 不是此页可以接受的值。</source>
        <translation>%1 = “%2” is no value this page takes.</translation>
    </message>
    <message>
        <source>参数文件无法读取，页面按默认值显示：%1</source>
        <translation>The parameter file cannot be read; the page shows its defaults: %1</translation>
    </message>
    <message>
        <source>原文件保留为 %1。</source>
        <translation>The file is kept as %1.</translation>
    </message>
    <message>
        <source>%1 在文件中出现了不止一次。</source>
        <translation>%1 appears more than once in the file.</translation>
    </message>
    <message>
        <source>%1 = %2 超出此页范围，按 %3 读入。</source>
        <translation>%1 = %2 lies outside this page&apos;s limits: read as %3.</translation>
    </message>
    <message>
        <source>页面的参数文件无法写入。</source>
        <translation>The page&apos;s parameter file cannot be written.</translation>
    </message>
    <message>
        <source>文件不完整或不是 XML 文件（第 %1 行）。</source>
        <translation>The file is cut short or is no XML file (line %1).</translation>
    </message>
    <message>
        <source>文件中有不能按 %1 读取的字节（第 %2 行）。</source>
        <translation>The file holds bytes that cannot be read as %1 (line %2).</translation>
    </message>
    <message>
        <source>不是参数文件。</source>
        <translation>It is no parameter file.</translation>
    </message>
    <message>
        <source>文件中有 XML 文件不能存放的字符。</source>
        <translation>The file holds characters no XML file can carry.</translation>
    </message>
    <message>
        <source>输出将使%1达到%2，超出其输出范围%3至%4，试验未开始。</source>
        <translation>The outputs set would take %1 to %2, outside the %3 to %4 its output gives: the test was not started.</translation>
    </message>
    <message>
        <source>步长时间%1短于防抖时间%2：动作要到其后数步才被确认，无法确定动作值，试验未开始。</source>
        <translation>The step time %1 is shorter than the deglitch time %2: a trip would be confirmed steps after the one it happened on, and its value could not be told. The test was not started.</translation>
    </message>
    <message>
        <source>文件不完整或不是 XML 文件。</source>
        <translation>The file is cut short or is no XML file.</translation>
    </message>
    <message>
        <source>校准系数未导入：%1含有无法读取的系数</source>
        <translation>Coefficients not imported: %1 holds a coefficient that cannot be read</translation>
    </message>
    <message>
        <source>校准系数未导入：%1为旧格式，不能导入</source>
        <translation>Coefficients not imported: %1 is in the older form, which cannot be imported</translation>
    </message>
    <message>
        <source>校准系数未导入：%1无法读取</source>
        <translation>Coefficients not imported: %1 cannot be read</translation>
    </message>
    <message>
        <source>校准系数未导出：U盘上的%1不是文件夹</source>
        <translation>Coefficients not exported: %1 on the USB stick is not a folder</translation>
    </message>
    <message>
        <source>校准系数未导出：%1无法写入U盘</source>
        <translation>Coefficients not exported: %1 could not be written to the USB stick</translation>
    </message>
    <message>
        <source>校准系数未导入：%1无法复制到仪器</source>
        <translation>Coefficients not imported: %1 could not be copied to the instrument</translation>
    </message>
    <message>
        <source>校准系数未导入：%1不是普通文件（是链接、管道、设备或文件夹）</source>
        <translation>Coefficients not imported: %1 is not a regular file (but a link, pipe, device or folder)</translation>
    </message>
    <message>
        <source>%1（链接）</source>
        <translation>%1 (a link)</translation>
    </message>
    <message>
        <source>%1（不是普通文件）</source>
        <translation>%1 (not a regular file)</translation>
    </message>
    <message>
        <source>%1（不是文件夹）</source>
        <translation>%1 (not a folder)</translation>
    </message>
    <message>
        <source>%1（不存在）</source>
        <translation>%1 (missing)</translation>
    </message>
    <message>
        <source>%1（无法读取）</source>
        <translation>%1 (cannot be read)</translation>
    </message>
    <message>
        <source>%1（文件名无效）</source>
        <translation>%1 (invalid file name)</translation>
    </message>
    <message>
        <source>%1（无法写入）</source>
        <translation>%1 (cannot be written)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>已导出 %1/%2 个文件。</source>
        <translation>Exported %1 of %2 files.</translation>
    </message>
    <message>
        <source>已导入 %1/%2 个文件。</source>
        <translation>Imported %1 of %2 files.</translation>
    </message>
    <message>
        <source>已导出：%1</source>
        <translation>Exported: %1</translation>
    </message>
    <message>
        <source>已导入：%1</source>
        <translation>Imported: %1</translation>
    </message>
    <message>
        <source>未导出：%1</source>
        <translation>Not exported: %1</translation>
    </message>
    <message>
        <source>未导入：%1</source>
        <translation>Not imported: %1</translation>
    </message>
    <message>
        <source>文件过大（超过 %1 字节），无法读取。</source>
        <translation>The file is too large to read (more than %1 bytes).</translation>
    </message>
    <message>
        <source>升级文件不存在！请重新插入U盘。</source>
        <translation>No upgrade file! Please insert the USB stick again.</translation>
    </message>
    <message>
        <source>升级文件无法使用：%1</source>
        <translation>Upgrade file refused: %1</translation>
    </message>
    <message>
        <source>文件的元素、属性或嵌套层数超过仪器所写的任何此类文件。</source>
        <translation>The file has more elements, attributes or levels of nesting than any file of its kind the instrument writes.</translation>
    </message>
    <message>
        <source>文件声明的编码无法识别。</source>
        <translation>The file declares an encoding that cannot be read.</translation>
    </message>
    <message>
        <source>状态%1由GPS/IRIG-B触发，但未设置触发时间，试验未开始。</source>
        <translation>State %1 ends on GPS/IRIG-B, but no trigger time is set: the test was not started.</translation>
    </message>
    <message>
        <source>U盘为只读</source>
        <translation>the USB stick is read-only</translation>
    </message>
    <message>
        <source>U盘已满</source>
        <translation>the USB stick is full</translation>
    </message>
    <message>
        <source>名称过长</source>
        <translation>the name is too long</translation>
    </message>
    <message>
        <source>没有写入权限</source>
        <translation>no permission to write</translation>
    </message>
    <message>
        <source>校准系数未导出：无法在U盘上建立文件夹%1（%2）</source>
        <translation>Coefficients not exported: the folder %1 could not be made on the USB stick (%2)</translation>
    </message>
    <message>
        <source>校准系数未导入：%1的元素、属性或嵌套层数超过仪器所写的任何校准文件</source>
        <translation>Coefficients not imported: %1 has more elements, attributes or levels of nesting than any calibration file the instrument writes</translation>
    </message>
    <message>
        <source>校准系数未导入：%1大于任何校准文件（超过 %2 字节）</source>
        <translation>Coefficients not imported: %1 is larger than any calibration file (more than %2 bytes)</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Not Reset</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>No Action</translation>
    </message>
    <message>
        <source>第%1点</source>
        <translation>Point %1</translation>
    </message>
    <message>
        <source>状态%1</source>
        <translation>State %1</translation>
    </message>
    <message>
        <source>评估%1</source>
        <translation>Assessment %1</translation>
    </message>
    <message>
        <source>终值</source>
        <translation>End</translation>
    </message>
    <message>
        <source>步长</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>相位</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>它不是普通文件，而是文件夹、管道、设备或套接字。</source>
        <translation>It is not a regular file but a folder, a pipe, a device or a socket.</translation>
    </message>
    <message>
        <source>文件存在，但无法打开或读取（权限或存储介质故障）。</source>
        <translation>The file is there but could not be opened or read (its permissions, or a fault of the storage).</translation>
    </message>
    <message>
        <source>升级成功!正在自动重启。</source>
        <translation>Upgrade succeeded! Restarting.</translation>
    </message>
    <message>
        <source>升级失败！请联系技术支持。</source>
        <translation>Upgrade failed! Please contact technical support.</translation>
    </message>
    <message>
        <source>校准系数未导入：%1不含本类校准系数</source>
        <translation>Coefficients not imported: %1 holds no coefficient of its kind</translation>
    </message>
    <message>
        <source>配置文件 %1 中的 %2 为 %3，超出其范围，按 %4 运行。</source>
        <translation>In the configuration file %1, %2 holds %3, outside its range: it runs on %4.</translation>
    </message>
    <message>
        <source>保存报告失败：报告文件夹 %1 通向应用程序文件夹之外。</source>
        <translation>Save Report failed: the report folder %1 leads out of the application&apos;s folder.</translation>
    </message>
</context>
<context>
    <name>ViewCalibrationModel</name>
    <message>
        <source>校准系数保存失败：%1</source>
        <translation>Saving the coefficients failed: %1</translation>
    </message>
    <message>
        <source>校准系数保存成功!</source>
        <translation>Coefficients saved!</translation>
    </message>
    <message>
        <source>没有测量任何校准点，校准系数未改变。</source>
        <translation>No point was measured: the coefficients have not changed.</translation>
    </message>
    <message>
        <source>已保存的校准点：%1</source>
        <translation>Calibration points saved: %1</translation>
    </message>
</context>
<context>
    <name>ViewComputerDistanceModel</name>
    <message>
        <source>故障无法计算，输出值未改变：请检查短路阻抗和计算模型。</source>
        <translation>The fault cannot be calculated; outputs unchanged: check the short-circuit impedance and the model.</translation>
    </message>
</context>
<context>
    <name>ViewDirectModel</name>
    <message>
        <source>Variable port</source>
        <translation>Variable phase</translation>
    </message>
    <message>
        <source>Action value</source>
        <translation>Action value</translation>
    </message>
    <message>
        <source>Return value</source>
        <translation>Return value</translation>
    </message>
    <message>
        <source>Return Coefficient</source>
        <translation>Return Coefficient</translation>
    </message>
    <message>
        <source>Action time</source>
        <translation>Action time</translation>
    </message>
    <message>
        <source>Return time</source>
        <translation>Return time</translation>
    </message>
</context>
<context>
    <name>ViewDistanceModel</name>
    <message>
        <source>故障无法计算，输出值未改变：请检查短路阻抗和计算模型。</source>
        <translation>The fault cannot be calculated; the outputs are unchanged: check the fault impedance and the calculation mode.</translation>
    </message>
    <message>
        <source>Pre-Fault</source>
        <translation>Pre-Fault</translation>
    </message>
    <message>
        <source>Fault-Interval</source>
        <translation>Fault-Interval</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Const Current</source>
        <translation>Const Current</translation>
    </message>
    <message>
        <source>Fault-Current</source>
        <translation>Fault-Current</translation>
    </message>
    <message>
        <source>Const Voltage</source>
        <translation>Const Voltage</translation>
    </message>
    <message>
        <source>Fault-Voltage</source>
        <translation>Fault-Voltage</translation>
    </message>
    <message>
        <source>CT Dir</source>
        <translation>CT Dir</translation>
    </message>
    <message>
        <source>指向母线</source>
        <translation>Busbar</translation>
    </message>
    <message>
        <source>指向线路</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>PT Dir</source>
        <translation>PT Dir</translation>
    </message>
    <message>
        <source>在母线上</source>
        <translation>Busbar</translation>
    </message>
    <message>
        <source>在线路上</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Load-Current</source>
        <translation>Load-Current</translation>
    </message>
    <message>
        <source>Load-Angle</source>
        <translation>Load-Angle</translation>
    </message>
    <message>
        <source>Grounding</source>
        <translation>Grounding</translation>
    </message>
    <message>
        <source>KL Range</source>
        <translation>KL Range</translation>
    </message>
    <message>
        <source>KL Angle</source>
        <translation>KL Angle</translation>
    </message>
    <message>
        <source>Z0/Z1 Range</source>
        <translation>Z0/Z1 Range</translation>
    </message>
    <message>
        <source>Z0/Z1 Angle</source>
        <translation>Z0/Z1 Angle</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Logic</translation>
    </message>
    <message>
        <source>And</source>
        <translation>And</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>Or</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Bin.Input</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Bin.Output</translation>
    </message>
    <message>
        <source>Fault Kind</source>
        <translation>Fault Kind</translation>
    </message>
    <message>
        <source>Fault Dir</source>
        <translation>Fault Dir</translation>
    </message>
    <message>
        <source>ZRange</source>
        <translation>Z Range</translation>
    </message>
    <message>
        <source>ZAngle</source>
        <translation>Z Angle</translation>
    </message>
    <message>
        <source>T.nom</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>Dev</source>
        <translation>Dev</translation>
    </message>
    <message>
        <source>Action Time</source>
        <translation>Action Time</translation>
    </message>
    <message>
        <source>DI</source>
        <translation>DI</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Reverse</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>NoTest</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>No Action</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Not Reset</translation>
    </message>
    <message>
        <source>阻抗角</source>
        <translation>Z angle</translation>
    </message>
    <message>
        <source>故障时间</source>
        <translation>Fault time</translation>
    </message>
</context>
<context>
    <name>ViewEnergyModel</name>
    <message>
        <source>第%1点的计数需要%2 s，超过仪器可计时的%3 s：请减少脉冲数或提高功率。</source>
        <translation>Point %1 needs %2 s to count, beyond the %3 s the instrument can time: count fewer pulses or raise the power.</translation>
    </message>
    <message>
        <source>该点的计数需要%1 s，超过仪器可计时的%2 s：请减少脉冲数或提高功率。</source>
        <translation>This point needs %1 s to count, beyond the %2 s the instrument can time: count fewer pulses or raise the power.</translation>
    </message>
    <message>
        <source>Active Power</source>
        <translation>Active Power</translation>
    </message>
    <message>
        <source>Reactive Power</source>
        <translation>Reactive Power</translation>
    </message>
    <message>
        <source>Apparent Power</source>
        <translation>Apparent Power</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>Single</translation>
    </message>
    <message>
        <source>3P4W</source>
        <translation>3P4W</translation>
    </message>
    <message>
        <source>3P3W</source>
        <translation>3P3W</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Import/Export</source>
        <translation>Import/Export</translation>
    </message>
    <message>
        <source>Meter type</source>
        <translation>Meter type</translation>
    </message>
    <message>
        <source>Measure type</source>
        <translation>Measure type</translation>
    </message>
    <message>
        <source>Secondary</source>
        <translation>Secondary</translation>
    </message>
    <message>
        <source>Primary</source>
        <translation>Primary</translation>
    </message>
    <message>
        <source>Pulse/Quantity</source>
        <translation>Pulse/Quantity</translation>
    </message>
    <message>
        <source>Heat time</source>
        <translation>Heat time</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Start time</translation>
    </message>
    <message>
        <source>Pulse Count</source>
        <translation>Pulse Count</translation>
    </message>
    <message>
        <source>Settling time</source>
        <translation>Settling time</translation>
    </message>
    <message>
        <source>Pulse type</source>
        <translation>Pulse type</translation>
    </message>
    <message>
        <source>Rising</source>
        <translation>Rising</translation>
    </message>
    <message>
        <source>Falling</source>
        <translation>Falling</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Precision</source>
        <translation>Precision</translation>
    </message>
    <message>
        <source>Pulse constant</source>
        <translation>Pulse constant</translation>
    </message>
    <message>
        <source>Whether to send a local pulse</source>
        <translation>Whether to send a local pulse</translation>
    </message>
    <message>
        <source>Voltage</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>Current</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>Power</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>Factor</source>
        <translation>Factor</translation>
    </message>
    <message>
        <source>Pulse</source>
        <translation>Pulse</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Setting</translation>
    </message>
    <message>
        <source>Actual</source>
        <translation>Actual</translation>
    </message>
    <message>
        <source>Dev</source>
        <translation>Dev</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>NoTest</source>
        <translation>NoTest</translation>
    </message>
    <message>
        <source>Passed</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>No Action</source>
        <translation>No Action</translation>
    </message>
    <message>
        <source>ind.</source>
        <translation>ind.</translation>
    </message>
    <message>
        <source>cap.</source>
        <translation>cap.</translation>
    </message>
    <message>
        <source>true</source>
        <translation>true</translation>
    </message>
    <message>
        <source>false</source>
        <translation>false</translation>
    </message>
    <message>
        <source>第%1点没有可计数的电能（功率%2，脉冲数%3）：请检查电流、角度、脉冲数和表计类型。</source>
        <translation>Point %1 has nothing to count (power %2, pulse count %3): check the current, the angle, the pulses and the meter type.</translation>
    </message>
    <message>
        <source>该点没有可计数的电能（功率%1，脉冲数%2）：请检查电流、角度、脉冲数和表计类型。</source>
        <translation>This point has nothing to count (power %1, pulse count %2): check the current, the angle, the pulses and the meter type.</translation>
    </message>
</context>
<context>
    <name>ViewHarmonicModel</name>
    <message>
        <source>Test mode</source>
        <translation>Test mode</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>From-to</source>
        <translation>From-to</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>Continuous</translation>
    </message>
    <message>
        <source>Deglitch</source>
        <translation>Deglitch Time</translation>
    </message>
    <message>
        <source>Auto time</source>
        <translation>Auto time</translation>
    </message>
    <message>
        <source>Order</source>
        <translation>Order</translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>Percentage</source>
        <translation>Percentage</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Variable</translation>
    </message>
    <message>
        <source>Test item</source>
        <translation>Test item</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>End</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>Rate Frequency</source>
        <translation>Rate Frequency</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Logic</translation>
    </message>
    <message>
        <source>And</source>
        <translation>And</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>Or</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Bin.Input</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Bin.Output</translation>
    </message>
    <message>
        <source>Base</source>
        <translation>Base</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>NoTest</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>No Action</translation>
    </message>
    <message>
        <source>T.nom</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>Dev</source>
        <translation>Dev</translation>
    </message>
    <message>
        <source>Action time</source>
        <translation>Action time</translation>
    </message>
    <message>
        <source>Action value</source>
        <translation>Action value</translation>
    </message>
    <message>
        <source>DI</source>
        <translation>DI</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>第%1次谐波的频率%2 Hz超出输出的频率上限%3 Hz，试验未开始。</source>
        <translation>Harmonic order %1 would play %2 Hz, beyond the %3 Hz the outputs give: the test was not started.</translation>
    </message>
    <message>
        <source>输出将使%1达到%2，超出其输出范围%3至%4，试验已停止。</source>
        <translation>The outputs set would take %1 to %2, outside the %3 to %4 its output gives: the test was stopped.</translation>
    </message>
</context>
<context>
    <name>ViewLoadSheddingModel</name>
    <message>
        <source>未复归</source>
        <translation>Not Reset</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>No Action</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>测试项目</source>
        <translation>Test Item</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Trip Value</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Trip Time</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>NoTest</translation>
    </message>
    <message>
        <source>失败：提前%1</source>
        <translation>Failed: %1 early</translation>
    </message>
    <message>
        <source>频率始值</source>
        <translation>f Start</translation>
    </message>
    <message>
        <source>频率终值</source>
        <translation>f End</translation>
    </message>
    <message>
        <source>频率步长</source>
        <translation>f Step</translation>
    </message>
    <message>
        <source>频率滑差</source>
        <translation>df/dt</translation>
    </message>
    <message>
        <source>计时频率</source>
        <translation>f Timing</translation>
    </message>
    <message>
        <source>电压始值</source>
        <translation>U Start</translation>
    </message>
    <message>
        <source>电压终值</source>
        <translation>U End</translation>
    </message>
    <message>
        <source>电压步长</source>
        <translation>U Step</translation>
    </message>
    <message>
        <source>电压滑差</source>
        <translation>dU/dt</translation>
    </message>
    <message>
        <source>计时电压</source>
        <translation>U Timing</translation>
    </message>
    <message>
        <source>滑差始值</source>
        <translation>Rate Start</translation>
    </message>
    <message>
        <source>滑差终值</source>
        <translation>Rate End</translation>
    </message>
    <message>
        <source>滑差步长</source>
        <translation>Rate Step</translation>
    </message>
    <message>
        <source>电流始值</source>
        <translation>I Start</translation>
    </message>
    <message>
        <source>电流终值</source>
        <translation>I End</translation>
    </message>
    <message>
        <source>电流步长</source>
        <translation>I Step</translation>
    </message>
    <message>
        <source>第%1点：%2 %3不在变化范围%4至%5之内，无从计算动作时间：请设置变化范围内的值。</source>
        <translation>Point %1: %2 %3 lies outside its ramp from %4 to %5, so no trip time can be counted from it: set a value within the ramp.</translation>
    </message>
    <message>
        <source>该点：%1 %2不在变化范围%3至%4之内，无从计算动作时间：请设置变化范围内的值。</source>
        <translation>This point: %1 %2 lies outside its ramp from %3 to %4, so no trip time can be counted from it: set a value within the ramp.</translation>
    </message>
</context>
<context>
    <name>ViewOscillateModel</name>
    <message>
        <source>Test mode</source>
        <translation>Test mode</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>From-to</source>
        <translation>From-to</translation>
    </message>
    <message>
        <source>Deglitch</source>
        <translation>Deglitch Time</translation>
    </message>
    <message>
        <source>Oscillate</source>
        <translation>Oscillate</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Percent</source>
        <translation>Percent</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Logic</translation>
    </message>
    <message>
        <source>And</source>
        <translation>And</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>Or</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Bin.Input</translation>
    </message>
    <message>
        <source>Base</source>
        <translation>Base</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Bin.Output</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>Variable port</source>
        <translation>Variable phase</translation>
    </message>
    <message>
        <source>Action value</source>
        <translation>Action value</translation>
    </message>
    <message>
        <source>Action time</source>
        <translation>Action time</translation>
    </message>
</context>
<context>
    <name>ViewOvercurrentCurvePainter</name>
    <message>
        <source>I(A)</source>
        <translation>I(A)</translation>
    </message>
    <message>
        <source>Time(s)</source>
        <translation>Time(s)</translation>
    </message>
</context>
<context>
    <name>ViewOvercurrentModel</name>
    <message>
        <source>Current Tol</source>
        <translation>Current Tol</translation>
    </message>
    <message>
        <source>故障前时间</source>
        <translation>Pre-Fault Time</translation>
    </message>
    <message>
        <source>电流允许绝对偏差</source>
        <translation>Current Tol Abs</translation>
    </message>
    <message>
        <source>仅输出一次</source>
        <translation>Output Once</translation>
    </message>
    <message>
        <source>Time Tol</source>
        <translation>Time Tol</translation>
    </message>
    <message>
        <source>OC Directional</source>
        <translation>OC Directional</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>Disable</translation>
    </message>
    <message>
        <source>时间允许绝对偏差</source>
        <translation>Time Tol Abs</translation>
    </message>
    <message>
        <source>Fault VPN</source>
        <translation>Fault VPN</translation>
    </message>
    <message>
        <source>Max Fault Time</source>
        <translation>Max Fault Time</translation>
    </message>
    <message>
        <source>I-Angle</source>
        <translation>I-Angle</translation>
    </message>
    <message>
        <source>间隔时间</source>
        <translation>Interval Time</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Logic</translation>
    </message>
    <message>
        <source>And</source>
        <translation>And</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>Or</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Bin.Input</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Bin.Output</translation>
    </message>
    <message>
        <source>Function</source>
        <translation>Function</translation>
    </message>
    <message>
        <source>Curve</source>
        <translation>Curve</translation>
    </message>
    <message>
        <source>Pick-up</source>
        <translation>Pick-up</translation>
    </message>
    <message>
        <source>Dial Time</source>
        <translation>Dial Time</translation>
    </message>
    <message>
        <source>Inst. Overcurrent</source>
        <translation>Inst. Overcurrent</translation>
    </message>
    <message>
        <source>故障类型</source>
        <translation>F-Type</translation>
    </message>
    <message>
        <source>绝对值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>功能</source>
        <translation>Function</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>最小时间</source>
        <translation>T.min</translation>
    </message>
    <message>
        <source>最大时间</source>
        <translation>T.max</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Trip Time</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>DI</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>NoTest</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>No Action</translation>
    </message>
    <message>
        <source>True</source>
        <translation>True</translation>
    </message>
    <message>
        <source>False</source>
        <translation>False</translation>
    </message>
    <message>
        <source>Time-current curve</source>
        <translation>Time-current curve</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Not Reset</translation>
    </message>
    <message>
        <source>第%1点的动作时间范围止于%2，故障须持续%3（含防抖时间%4）才能判断，超过最大故障时间%5：请加长最大故障时间。</source>
        <translation>Point %1&apos;s trip window ends at %2: its fault must last %3 (the deglitch time of %4 included) to judge it, longer than the Max Fault Time of %5: lengthen Max Fault Time.</translation>
    </message>
    <message>
        <source>该点的动作时间范围止于%1，故障须持续%2（含防抖时间%3）才能判断，超过最大故障时间%4：请加长最大故障时间。</source>
        <translation>This point&apos;s trip window ends at %1: its fault must last %2 (the deglitch time of %3 included) to judge it, longer than the Max Fault Time of %4: lengthen Max Fault Time.</translation>
    </message>
    <message>
        <source>I test</source>
        <translation>I test</translation>
    </message>
</context>
<context>
    <name>ViewPointListModel</name>
    <message>
        <source>第%1点的电压%2超过装置的最大电压%3。</source>
        <translation>Point %1 asks for %2, beyond the device&apos;s largest voltage, %3.</translation>
    </message>
    <message>
        <source>第%1点的电流%2超过装置的最大电流%3。</source>
        <translation>Point %1 asks for %2, beyond the device&apos;s largest current, %3.</translation>
    </message>
    <message>
        <source>该点的电压%1超过装置的最大电压%2。</source>
        <translation>This point asks for %1, beyond the device&apos;s largest voltage, %2.</translation>
    </message>
    <message>
        <source>该点的电流%1超过装置的最大电流%2。</source>
        <translation>This point asks for %1, beyond the device&apos;s largest current, %2.</translation>
    </message>
</context>
<context>
    <name>ViewRampOutputModel</name>
    <message>
        <source>From-to</source>
        <translation>From-to</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>Continuous</translation>
    </message>
    <message>
        <source>From-to-From</source>
        <translation>From-to-From</translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Test mode</source>
        <translation>Test mode</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Deglitch</source>
        <translation>Deglitch Time</translation>
    </message>
    <message>
        <source>Auto time</source>
        <translation>Auto time</translation>
    </message>
    <message>
        <source>Test item</source>
        <translation>Test item</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Step Value</translation>
    </message>
    <message>
        <source>End</source>
        <translation>End Value</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Logic</translation>
    </message>
    <message>
        <source>And</source>
        <translation>And</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>Or</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Bin.Input</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Bin.Output</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>NoTest</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>No Action</translation>
    </message>
</context>
<context>
    <name>ViewRampingModel</name>
    <message>
        <source>没有测试状态，请先添加状态。</source>
        <translation>There is no state to test: add one first.</translation>
    </message>
    <message>
        <source>状态%1：</source>
        <translation>State %1: </translation>
    </message>
    <message>
        <source>步长时间必须大于零。</source>
        <translation>The step time must be greater than zero.</translation>
    </message>
    <message>
        <source>State</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Variable</translation>
    </message>
    <message>
        <source>Test item</source>
        <translation>Test item</translation>
    </message>
    <message>
        <source>End</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Logic</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Bin.Input</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>And</source>
        <translation>And</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>Or</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Bin.Output</translation>
    </message>
    <message>
        <source>Function</source>
        <translation>Function</translation>
    </message>
    <message>
        <source>T.nom</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>Dev</source>
        <translation>Dev</translation>
    </message>
    <message>
        <source>Action Time</source>
        <translation>Action Time</translation>
    </message>
    <message>
        <source>Action value</source>
        <translation>Action value</translation>
    </message>
    <message>
        <source>DI</source>
        <translation>DI</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>NoTest</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Not Reset</translation>
    </message>
    <message>
        <source>步长时间</source>
        <translation>Step time</translation>
    </message>
</context>
<context>
    <name>ViewSlipFrequencyModel</name>
    <message>
        <source>动作频率</source>
        <translation>Trip Freq.</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Trip Time</translation>
    </message>
    <message>
        <source>频率滑差</source>
        <translation>df/dt</translation>
    </message>
    <message>
        <source>低流闭锁</source>
        <translation>Low-I Block</translation>
    </message>
    <message>
        <source>电压闭锁</source>
        <translation>U Block</translation>
    </message>
</context>
<context>
    <name>ViewSlipVoltageModel</name>
    <message>
        <source>动作电压</source>
        <translation>Trip Volt.</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Trip Time</translation>
    </message>
    <message>
        <source>电压滑差</source>
        <translation>dU/dt</translation>
    </message>
    <message>
        <source>低流闭锁</source>
        <translation>Low-I Block</translation>
    </message>
</context>
<context>
    <name>ViewSourceTestModel</name>
    <message>
        <source>步长必须大于零。</source>
        <translation>The step must be greater than zero.</translation>
    </message>
    <message>
        <source>自动时间必须大于零。</source>
        <translation>The auto time must be greater than zero.</translation>
    </message>
    <message>
        <source>终值无效。</source>
        <translation>Invalid end value.</translation>
    </message>
    <message>
        <source>终值位于所选各相的输出之间，无法递变。</source>
        <translation>The end value lies between the outputs of the selected phases: cannot ramp.</translation>
    </message>
    <message>
        <source>终值低于当前输出，不能递增。</source>
        <translation>The end value is below the output: cannot ramp up.</translation>
    </message>
    <message>
        <source>终值高于当前输出，不能递减。</source>
        <translation>The end value is above the output: cannot ramp down.</translation>
    </message>
    <message>
        <source>请先按“+”或“-”设定变化方向。</source>
        <translation>Press “+” or “-” first to set the direction.</translation>
    </message>
    <message>
        <source>动作时间范围止于%1，每步却只有%2：在其后动作的继电器会被记在下一步。请把步长时间设为至少%1。</source>
        <translation>The trip window ends at %1, but each step lasts only %2: a relay acting after that would be read on the next step. Set the step time to %1 at least.</translation>
    </message>
</context>
<context>
    <name>ViewStateSequenceModel</name>
    <message>
        <source>Deglitch</source>
        <translation>Deglitch Time</translation>
    </message>
    <message>
        <source>States</source>
        <translation>States</translation>
    </message>
    <message>
        <source>State </source>
        <translation>State </translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Trip mode</source>
        <translation>Trip mode</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>State time</source>
        <translation>State time</translation>
    </message>
    <message>
        <source>Binary</source>
        <translation>Binary</translation>
    </message>
    <message>
        <source>Time+Binary</source>
        <translation>Time+Binary</translation>
    </message>
    <message>
        <source>Key-Press</source>
        <translation>Key-Press</translation>
    </message>
    <message>
        <source>GPS/IRIG-B</source>
        <translation>GPS/IRIG-B</translation>
    </message>
    <message>
        <source>Out.mode</source>
        <translation>Out.mode</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>Continuous</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Logic</translation>
    </message>
    <message>
        <source>And</source>
        <translation>And</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>Or</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Bin.Input</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Bin.Output</translation>
    </message>
    <message>
        <source>State</source>
        <translation>State</translation>
    </message>
    <message>
        <source>DI</source>
        <translation>DI</translation>
    </message>
    <message>
        <source>Assessment Result</source>
        <translation>Assessment Result</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>偏差</source>
        <translation>Dev</translation>
    </message>
    <message>
        <source>实际时间</source>
        <translation>Act Time</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>NoTest</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>Event Recorder</source>
        <translation>Event Recorder</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Signal Name</source>
        <translation>Signal Name</translation>
    </message>
    <message>
        <source>Slope</source>
        <translation>Slope</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>评估%1的时间范围为%2至%3，所选状态却最长只持续%4，试验未开始。</source>
        <translation>Assessment %1 judges %2 to %3, but its states last %4 at most: the test was not started.</translation>
    </message>
    <message>
        <source>评估%1的时间范围为%2至%3，所选状态却至少持续%4，试验未开始。</source>
        <translation>Assessment %1 judges %2 to %3, but its states last %4 at least: the test was not started.</translation>
    </message>
</context>
<context>
    <name>ViewStdSourceModel</name>
    <message>
        <source>分元无效</source>
        <translation>Not applicable</translation>
    </message>
    <message>
        <source>三元件</source>
        <translation>3 elements</translation>
    </message>
    <message>
        <source>二元件</source>
        <translation>2 elements</translation>
    </message>
    <message>
        <source>A元件</source>
        <translation>Element A</translation>
    </message>
    <message>
        <source>B元件</source>
        <translation>Element B</translation>
    </message>
    <message>
        <source>C元件</source>
        <translation>Element C</translation>
    </message>
    <message>
        <source>单项有功功率</source>
        <translation>Single-phase active power</translation>
    </message>
    <message>
        <source>三相四线(Y型接法)有功功率</source>
        <translation>3-phase 4-wire (Y) active power</translation>
    </message>
    <message>
        <source>三相三线(V型接法)有功功率</source>
        <translation>3-phase 3-wire (V) active power</translation>
    </message>
    <message>
        <source>三相三线(△型接法)有功功率</source>
        <translation>3-phase 3-wire (Δ) active power</translation>
    </message>
    <message>
        <source>三相四线(Y型接法)真无功功率</source>
        <translation>3-phase 4-wire (Y) true reactive power</translation>
    </message>
    <message>
        <source>三相三线(V型接法)真无功功率</source>
        <translation>3-phase 3-wire (V) true reactive power</translation>
    </message>
    <message>
        <source>三相三线(△型接法)真无功功率</source>
        <translation>3-phase 3-wire (Δ) true reactive power</translation>
    </message>
    <message>
        <source>三元件90°无功功率</source>
        <translation>3-element 90° reactive power</translation>
    </message>
    <message>
        <source>二元件90°无功功率</source>
        <translation>2-element 90° reactive power</translation>
    </message>
    <message>
        <source>工作方式</source>
        <translation>Work mode</translation>
    </message>
    <message>
        <source>功率因数</source>
        <translation>Power factor</translation>
    </message>
    <message>
        <source>功率相角</source>
        <translation>Power angle</translation>
    </message>
    <message>
        <source>分元选择</source>
        <translation>Element</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>电压幅值</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>电流幅值</source>
        <translation>Current</translation>
    </message>
    <message>
        <source>有功功率</source>
        <translation>Active power</translation>
    </message>
    <message>
        <source>无功功率</source>
        <translation>Reactive power</translation>
    </message>
    <message>
        <source>视在功率</source>
        <translation>Apparent power</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>相位</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>功率</source>
        <translation>Power</translation>
    </message>
</context>
</TS>
