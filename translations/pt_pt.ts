<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_PT" sourcelanguage="zh_CN">
<context>
    <name>ChildCalMeasureDialog</name>
    <message>
        <source>请输入校准测量值...</source>
        <translation>Introduza o valor medido...</translation>
    </message>
    <message>
        <source>校准点:</source>
        <translation>Ponto:</translation>
    </message>
    <message>
        <source>测量值:</source>
        <translation>Medido:</translation>
    </message>
</context>
<context>
    <name>ChildTestTimeDialog</name>
    <message>
        <source>定时设置</source>
        <translation>Temporização</translation>
    </message>
    <message>
        <source>输出开始时刻：</source>
        <translation>Início da saída:</translation>
    </message>
    <message>
        <source>开出翻转时刻：</source>
        <translation>Comut. SD:</translation>
    </message>
</context>
<context>
    <name>CommSOEEntity</name>
    <message>
        <source>开始测试</source>
        <translation>Iniciar teste</translation>
    </message>
    <message>
        <source>停止测试</source>
        <translation>Parar teste</translation>
    </message>
    <message>
        <source>开始输出</source>
        <translation>Iniciar saída</translation>
    </message>
    <message>
        <source>停止输出</source>
        <translation>Parar saída</translation>
    </message>
    <message>
        <source>改变输出</source>
        <translation>Mudar saída</translation>
    </message>
    <message>
        <source>输出状态</source>
        <translation>Estado da saída</translation>
    </message>
    <message>
        <source>状态%1未在仪器到达前写入，测试在此结束</source>
        <translation>O estado %1 não foi escrito antes de o instrumento o alcançar: o teste terminou aí</translation>
    </message>
    <message>
        <source>开出量</source>
        <translation>SD</translation>
    </message>
    <message>
        <source>开入量</source>
        <translation>ED</translation>
    </message>
    <message>
        <source>由合到开</source>
        <translation>Lig-Desl</translation>
    </message>
    <message>
        <source>由开到合</source>
        <translation>Desl-Lig</translation>
    </message>
</context>
<context>
    <name>ComputerDistanceDialog</name>
    <message>
        <source>故障计算</source>
        <translation>Cálculo de falha</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Z0/Z1幅值</source>
        <translation>Z0/Z1 Mód.</translation>
    </message>
    <message>
        <source>Z0/Z1角度</source>
        <translation>Z0/Z1 Âng.</translation>
    </message>
    <message>
        <source>KL幅值</source>
        <translation>KL Mód.</translation>
    </message>
    <message>
        <source>KL角度</source>
        <translation>KL Âng.</translation>
    </message>
    <message>
        <source>故障参数</source>
        <translation>Parâmetros de falha</translation>
    </message>
    <message>
        <source>计算模型</source>
        <translation>Modelo</translation>
    </message>
    <message>
        <source>电流恒定</source>
        <translation>I const.</translation>
    </message>
    <message>
        <source>电压恒定</source>
        <translation>U const.</translation>
    </message>
    <message>
        <source>故障类型</source>
        <translation>Tipo falha</translation>
    </message>
    <message>
        <source>CT位置</source>
        <translation>Dir. TC</translation>
    </message>
    <message>
        <source>指向母线</source>
        <translation>Barras</translation>
    </message>
    <message>
        <source>指向线路</source>
        <translation>Linha</translation>
    </message>
    <message>
        <source>PT位置</source>
        <translation>Dir. TT</translation>
    </message>
    <message>
        <source>在母线上</source>
        <translation>Barras</translation>
    </message>
    <message>
        <source>在线路上</source>
        <translation>Linha</translation>
    </message>
    <message>
        <source>故障方向</source>
        <translation>Dir. falha</translation>
    </message>
    <message>
        <source>正方向</source>
        <translation>Direta</translation>
    </message>
    <message>
        <source>反方向</source>
        <translation>Inversa</translation>
    </message>
    <message>
        <source>故障电压</source>
        <translation>U falha</translation>
    </message>
    <message>
        <source>故障电流</source>
        <translation>I falha</translation>
    </message>
    <message>
        <source>负荷电流</source>
        <translation>I carga</translation>
    </message>
    <message>
        <source>负荷相角</source>
        <translation>θ carga</translation>
    </message>
    <message>
        <source>短路阻抗</source>
        <translation>Impedância de curto-circuito</translation>
    </message>
    <message>
        <source>角</source>
        <translation>θ</translation>
    </message>
    <message>
        <source>零序补偿系数</source>
        <translation>Fator de terra</translation>
    </message>
    <message>
        <source>补偿方式</source>
        <translation>Modo</translation>
    </message>
</context>
<context>
    <name>EditNumberBox</name>
    <message>
        <source>无效值</source>
        <translation>Inválido</translation>
    </message>
    <message>
        <source>超出范围</source>
        <translation>Fora do intervalo</translation>
    </message>
</context>
<context>
    <name>FileManagerPage</name>
    <message>
        <source>交流试验</source>
        <translation>Teste CA</translation>
    </message>
    <message>
        <source>过流试验</source>
        <translation>Sobreint.</translation>
    </message>
    <message>
        <source>状态序列</source>
        <translation>Estados</translation>
    </message>
    <message>
        <source>递变试验</source>
        <translation>Rampa</translation>
    </message>
    <message>
        <source>谐波试验</source>
        <translation>Harmón.</translation>
    </message>
    <message>
        <source>距离试验</source>
        <translation>Distân.</translation>
    </message>
    <message>
        <source>低周减载</source>
        <translation>Desl. F</translation>
    </message>
    <message>
        <source>低压减载</source>
        <translation>Desl. U</translation>
    </message>
    <message>
        <source>直流试验</source>
        <translation>Teste CC</translation>
    </message>
    <message>
        <source>震荡模拟</source>
        <translation>Oscilação</translation>
    </message>
    <message>
        <source>电能表</source>
        <translation>Contador</translation>
    </message>
    <message>
        <source>U盘不存在！请重新插入U盘。</source>
        <translation>Pen USB não encontrada! Insira-a novamente.</translation>
    </message>
    <message>
        <source>确定导出选中的文件？同名文件会被覆盖</source>
        <translation>Exportar os ficheiros selecionados? Os ficheiros com o mesmo nome serão substituídos.</translation>
    </message>
    <message>
        <source>导出文件成功！</source>
        <translation>Exportação concluída!</translation>
    </message>
    <message>
        <source>导出文件失败！</source>
        <translation>Falha na exportação!</translation>
    </message>
    <message>
        <source>确定导入选中的文件？同名文件会被覆盖</source>
        <translation>Importar os ficheiros selecionados? Os ficheiros com o mesmo nome serão substituídos.</translation>
    </message>
    <message>
        <source>导入文件成功！</source>
        <translation>Importação concluída!</translation>
    </message>
    <message>
        <source>导入文件失败！</source>
        <translation>Falha na importação!</translation>
    </message>
    <message>
        <source>确定删除选中的文件？</source>
        <translation>Eliminar os ficheiros selecionados?</translation>
    </message>
    <message>
        <source>删除文件成功！</source>
        <translation>Ficheiros eliminados!</translation>
    </message>
    <message>
        <source>删除文件失败！</source>
        <translation>Falha ao eliminar!</translation>
    </message>
    <message>
        <source>设备内部</source>
        <translation>Equipamento</translation>
    </message>
    <message>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Parâm.</translation>
    </message>
    <message>
        <source>报告</source>
        <translation>Relatórios</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>N.º</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>Nome do ficheiro</translation>
    </message>
    <message>
        <source>选择</source>
        <translation>Sel.</translation>
    </message>
    <message>
        <source>没有文件</source>
        <translation>Sem ficheiros</translation>
    </message>
    <message>
        <source>文件数</source>
        <translation>Ficheiros</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>Todos</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Exportar</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Importar</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Aviso</translation>
    </message>
</context>
<context>
    <name>InputCharNumberPanel</name>
    <message>
        <source>回退</source>
        <translation>Apagar</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>InputDateTimePanel</name>
    <message>
        <source>年</source>
        <translation>A</translation>
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
        <translation>Apagar</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>OK</translation>
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
        <translation>Sem rearme</translation>
    </message>
    <message>
        <source>故障前时间</source>
        <translation>T.pré-falha</translation>
    </message>
    <message>
        <source>保持时间</source>
        <translation>T.manter</translation>
    </message>
    <message>
        <source>故障后时间</source>
        <translation>T.pós-falha</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Não testado</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>Em teste</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Sem atuação</translation>
    </message>
    <message>
        <source>测试参数</source>
        <translation>Pontos</translation>
    </message>
    <message>
        <source>综合参数</source>
        <translation>Geral</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Adicionar</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Limpar</translation>
    </message>
    <message>
        <source>测试项目</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>V.atuação</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>T.atuação</translation>
    </message>
</context>
<context>
    <name>MainWindowContent</name>
    <message>
        <source>电量不足</source>
        <translation>Bateria &lt;</translation>
    </message>
    <message>
        <source>请及时充电</source>
        <translation>carregue</translation>
    </message>
    <message>
        <source>禁止5A及以上电流输出</source>
        <translation>I ≥ 5A bloq.</translation>
    </message>
    <message>
        <source>禁止2A及以上电流输出</source>
        <translation>I ≥ 2A bloq.</translation>
    </message>
    <message>
        <source>禁止实验</source>
        <translation>sem testes</translation>
    </message>
    <message>
        <source>关闭电池放电</source>
        <translation>descarga desl.</translation>
    </message>
    <message>
        <source>设备未初始化</source>
        <translation>Equipamento não inicializado</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>是否退出</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>电池电量低于10%，请及时充电！</source>
        <translation>Bateria abaixo de 10%, carregue-a!</translation>
    </message>
</context>
<context>
    <name>MainWindowPage</name>
    <message>
        <source>交流试验</source>
        <translation>Teste CA</translation>
    </message>
    <message>
        <source>过流试验</source>
        <translation>Sobreint.</translation>
    </message>
    <message>
        <source>状态序列</source>
        <translation>Estados</translation>
    </message>
    <message>
        <source>递变试验</source>
        <translation>Rampa</translation>
    </message>
    <message>
        <source>谐波试验</source>
        <translation>Harmón.</translation>
    </message>
    <message>
        <source>距离试验</source>
        <translation>Distân.</translation>
    </message>
    <message>
        <source>低周减载</source>
        <translation>Desl. F</translation>
    </message>
    <message>
        <source>低压减载</source>
        <translation>Desl. U</translation>
    </message>
    <message>
        <source>直流试验</source>
        <translation>Teste CC</translation>
    </message>
    <message>
        <source>震荡模拟</source>
        <translation>Oscilação</translation>
    </message>
    <message>
        <source>电能表</source>
        <translation>Contador</translation>
    </message>
    <message>
        <source>文件管理</source>
        <translation>Ficheiros</translation>
    </message>
    <message>
        <source>辅助直流</source>
        <translation>CC auxiliar</translation>
    </message>
    <message>
        <source>系统设置</source>
        <translation>Config.</translation>
    </message>
    <message>
        <source>联机测试</source>
        <translation>Controlo remoto</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>本设备内置三元锂电池，请使用完后及时关闭电源开关，禁止设备开机状态下装箱存放。设备不可无电存放，会导致电池损坏，建议存放前保持70%以上电量。设备长期不充电会导致电池容量降低甚至电池损坏，我司建议设备至少3个月充电一次。</source>
        <translation>Este equipamento tem uma bateria de lítio integrada. Desligue o interruptor após a utilização e nunca guarde o equipamento ligado. Guardá-lo com a bateria descarregada danifica a bateria: carregue-a acima de 70% antes de o guardar. Longos períodos sem carga reduzem a capacidade da bateria ou danificam-na; recomendamos carregar o equipamento pelo menos de 3 em 3 meses.</translation>
    </message>
    <message>
        <source>Output Aux.DC or not?</source>
        <translation>Ligar a CC auxiliar?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sim</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Não</translation>
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
        <translation>Equilibrar</translation>
    </message>
    <message>
        <source>正序</source>
        <translation>Direta</translation>
    </message>
    <message>
        <source>负序</source>
        <translation>Inversa</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Parâmetros</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Disparo</translation>
    </message>
    <message>
        <source>步长:</source>
        <translation>Passo:</translation>
    </message>
    <message>
        <source>终值:</source>
        <translation>Final:</translation>
    </message>
    <message>
        <source>自动时间:</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>变量选择:</source>
        <translation>Variável:</translation>
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
        <translation>Fase</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Frequência</translation>
    </message>
    <message>
        <source>变化方式:</source>
        <translation>Modo:</translation>
    </message>
    <message>
        <source>动作停止</source>
        <translation>Até atuar</translation>
    </message>
    <message>
        <source>动作返回</source>
        <translation>Atuar-retorno</translation>
    </message>
    <message>
        <source>持续输出</source>
        <translation>Contínuo</translation>
    </message>
    <message>
        <source>故障计算</source>
        <translation>Calc.</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Valor atuação</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Tempo atuação</translation>
    </message>
    <message>
        <source>返回系数</source>
        <translation>Coef. retorno</translation>
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
        <translation>Equilibrar</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Parâmetros</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Disparo</translation>
    </message>
    <message>
        <source>步长:</source>
        <translation>Passo:</translation>
    </message>
    <message>
        <source>终值:</source>
        <translation>Final:</translation>
    </message>
    <message>
        <source>自动时间:</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>变量选择:</source>
        <translation>Variável:</translation>
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
        <translation>Modo:</translation>
    </message>
    <message>
        <source>动作停止</source>
        <translation>Até atuar</translation>
    </message>
    <message>
        <source>动作返回</source>
        <translation>Atuar-retorno</translation>
    </message>
    <message>
        <source>持续输出</source>
        <translation>Contínuo</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Valor atuação</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Tempo atuação</translation>
    </message>
    <message>
        <source>返回系数</source>
        <translation>Coef. retorno</translation>
    </message>
</context>
<context>
    <name>ModelDistancePage</name>
    <message>
        <source>反方向</source>
        <translation>Inversa</translation>
    </message>
    <message>
        <source>正方向</source>
        <translation>Direta</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Sem atuação</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Não testado</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>A testar</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Aprovado</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Reprovado</translation>
    </message>
    <message>
        <source>测试参数</source>
        <translation>Pontos</translation>
    </message>
    <message>
        <source>综合参数</source>
        <translation>Geral</translation>
    </message>
    <message>
        <source>时间触发</source>
        <translation>Tempo/Disparo</translation>
    </message>
    <message>
        <source>角</source>
        <translation>θ</translation>
    </message>
    <message>
        <source>故障类型</source>
        <translation>Tipo falha</translation>
    </message>
    <message>
        <source>故障方向</source>
        <translation>Dir. falha</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Adicionar</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Limpar</translation>
    </message>
    <message>
        <source>阻抗倍数</source>
        <translation>Fatores Z</translation>
    </message>
    <message>
        <source>阻抗值</source>
        <translation>Z</translation>
    </message>
    <message>
        <source>阻抗角</source>
        <translation>Âng. Z</translation>
    </message>
    <message>
        <source>偏差</source>
        <translation>Desvio</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>T.atuação</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>ED</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>计算模型</source>
        <translation>Modelo</translation>
    </message>
    <message>
        <source>电流恒定</source>
        <translation>I const.</translation>
    </message>
    <message>
        <source>电压恒定</source>
        <translation>U const.</translation>
    </message>
    <message>
        <source>CT位置</source>
        <translation>Dir. TC</translation>
    </message>
    <message>
        <source>指向母线</source>
        <translation>Barras</translation>
    </message>
    <message>
        <source>指向线路</source>
        <translation>Linha</translation>
    </message>
    <message>
        <source>PT位置</source>
        <translation>Dir. TT</translation>
    </message>
    <message>
        <source>在母线上</source>
        <translation>Barras</translation>
    </message>
    <message>
        <source>在线路上</source>
        <translation>Linha</translation>
    </message>
    <message>
        <source>故障电压</source>
        <translation>U falha</translation>
    </message>
    <message>
        <source>故障电流</source>
        <translation>I falha</translation>
    </message>
    <message>
        <source>负荷电流</source>
        <translation>I carga</translation>
    </message>
    <message>
        <source>负荷相角</source>
        <translation>θ carga</translation>
    </message>
    <message>
        <source>零序补偿</source>
        <translation>Comp. terra</translation>
    </message>
    <message>
        <source>Z0/Z1幅值</source>
        <translation>Z0/Z1 Mód.</translation>
    </message>
    <message>
        <source>KL幅值</source>
        <translation>KL Mód.</translation>
    </message>
    <message>
        <source>Z0/Z1角度</source>
        <translation>Z0/Z1 Âng.</translation>
    </message>
    <message>
        <source>KL角度</source>
        <translation>KL Âng.</translation>
    </message>
    <message>
        <source>时间绝对误差</source>
        <translation>Tol. absoluta</translation>
    </message>
    <message>
        <source>时间相对误差</source>
        <translation>Tol. relativa</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Personalizado</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Ângulo</translation>
    </message>
    <message>
        <source>故障前时间</source>
        <translation>T.pré-falha</translation>
    </message>
    <message>
        <source>故障后时间</source>
        <translation>T.pós-falha</translation>
    </message>
    <message>
        <source>故障时间 = 最大整定时间  x</source>
        <translation>T.falha = T.nom máx.  x</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Sem rearme</translation>
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
        <translation>Não testado</translation>
    </message>
    <message>
        <source>Testing</source>
        <translation>A testar</translation>
    </message>
    <message>
        <source>Passed</source>
        <translation>Aprovado</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Reprovado</translation>
    </message>
    <message>
        <source>No Action</source>
        <translation>Sem atuação</translation>
    </message>
    <message>
        <source>测试参数</source>
        <translation>Pontos</translation>
    </message>
    <message>
        <source>综合参数</source>
        <translation>Contador</translation>
    </message>
    <message>
        <source>脉冲输出</source>
        <translation>Saída de impulsos</translation>
    </message>
    <message>
        <source>Voltage</source>
        <translation>Tensão</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequência</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>Corrente</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Ângulo</translation>
    </message>
    <message>
        <source>Pulse</source>
        <translation>Impulsos</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Adicionar</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remover</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Limpar</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>Potência</translation>
    </message>
    <message>
        <source>Factor</source>
        <translation>Fator</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Definido</translation>
    </message>
    <message>
        <source>Actual</source>
        <translation>Medido</translation>
    </message>
    <message>
        <source>Dev</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>Meter type</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Active Power</source>
        <translation>Ativa</translation>
    </message>
    <message>
        <source>Reactive Power</source>
        <translation>Reativa</translation>
    </message>
    <message>
        <source>Apparent Power</source>
        <translation>Aparente</translation>
    </message>
    <message>
        <source>3P4W</source>
        <translation>3F4C</translation>
    </message>
    <message>
        <source>3P3W</source>
        <translation>3F3C</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>Monof.</translation>
    </message>
    <message>
        <source>Precision</source>
        <translation>Classe</translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>Energia</translation>
    </message>
    <message>
        <source>Secondary</source>
        <translation>Secundário</translation>
    </message>
    <message>
        <source>Primary</source>
        <translation>Primário</translation>
    </message>
    <message>
        <source>Heat time</source>
        <translation>Aquecimento</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Arranque</translation>
    </message>
    <message>
        <source>Pulse type</source>
        <translation>Impulso</translation>
    </message>
    <message>
        <source>Rising</source>
        <translation>Subida</translation>
    </message>
    <message>
        <source>Falling</source>
        <translation>Descida</translation>
    </message>
    <message>
        <source>Pulse Count</source>
        <translation>Imp./volta</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Sentido</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importação</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportação</translation>
    </message>
    <message>
        <source>Import/Export</source>
        <translation>Imp./Exp.</translation>
    </message>
    <message>
        <source>Settling time</source>
        <translation>Estabiliz.</translation>
    </message>
    <message>
        <source>Pulse constant</source>
        <translation>Constante de impulsos</translation>
    </message>
    <message>
        <source>Whether to send a local pulse</source>
        <translation>Enviar impulsos locais</translation>
    </message>
</context>
<context>
    <name>ModelHarmonicPage</name>
    <message>
        <source>未动作</source>
        <translation>Sem atuação</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Não testado</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>A testar</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Aprovado</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Reprovado</translation>
    </message>
    <message>
        <source>上一波次</source>
        <translation>Anterior</translation>
    </message>
    <message>
        <source>谐波次数:</source>
        <translation>Ordem:</translation>
    </message>
    <message>
        <source>后一波次</source>
        <translation>Seguinte</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Parâmetros</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Disparo</translation>
    </message>
    <message>
        <source>步长:</source>
        <translation>Passo:</translation>
    </message>
    <message>
        <source>终值:</source>
        <translation>Final:</translation>
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
        <translation>Desvio:</translation>
    </message>
    <message>
        <source>变量选择:</source>
        <translation>Variável:</translation>
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
        <translation>Fase</translation>
    </message>
    <message>
        <source>动作停止</source>
        <translation>Até atuar</translation>
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
        <translation>Percentagem</translation>
    </message>
    <message>
        <source>测试结果</source>
        <translation>Resultado do teste</translation>
    </message>
    <message>
        <source>变量</source>
        <translation>Variável</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Valor atuação</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Tempo atuação</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>ED</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Resultado</translation>
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
        <translation>Equilibrar</translation>
    </message>
    <message>
        <source>正序</source>
        <translation>Direta</translation>
    </message>
    <message>
        <source>负序</source>
        <translation>Inversa</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Parâmetros</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Disparo</translation>
    </message>
    <message>
        <source>百分比</source>
        <translation>Percentagem</translation>
    </message>
    <message>
        <source>相角</source>
        <translation>Ângulo</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Frequência</translation>
    </message>
    <message>
        <source>变量选择:</source>
        <translation>Variável:</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Valor atuação</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Tempo atuação</translation>
    </message>
</context>
<context>
    <name>ModelOvercurrentPage</name>
    <message>
        <source>未动作</source>
        <translation>Sem atuação</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Não testado</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>A testar</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Aprovado</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Reprovado</translation>
    </message>
    <message>
        <source>测试参数</source>
        <translation>Teste</translation>
    </message>
    <message>
        <source>综合参数</source>
        <translation>Geral</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Disparo</translation>
    </message>
    <message>
        <source>曲线图</source>
        <translation>Curva</translation>
    </message>
    <message>
        <source>Inst. Overcurrent</source>
        <translation>Sobrecorr. inst.</translation>
    </message>
    <message>
        <source>Pick-up</source>
        <translation>Arranque</translation>
    </message>
    <message>
        <source>Dial Time</source>
        <translation>Temporiz.</translation>
    </message>
    <message>
        <source>Function</source>
        <translation>Função</translation>
    </message>
    <message>
        <source>Fault-Type</source>
        <translation>Tipo falha</translation>
    </message>
    <message>
        <source>Time Overcurrent</source>
        <translation>Sobrecorr. temp.</translation>
    </message>
    <message>
        <source>I test</source>
        <translation>I teste</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Adicionar</translation>
    </message>
    <message>
        <source>Multi</source>
        <translation>Série</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remover</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Limpar</translation>
    </message>
    <message>
        <source>Current Tol</source>
        <translation>Tol. corrente</translation>
    </message>
    <message>
        <source>电流允许绝对偏差</source>
        <translation>Tol. I absoluta</translation>
    </message>
    <message>
        <source>Max Fault Time</source>
        <translation>T. falha máx.</translation>
    </message>
    <message>
        <source>Time Tol</source>
        <translation>Tol. tempo</translation>
    </message>
    <message>
        <source>时间允许绝对偏差</source>
        <translation>Tol. T absoluta</translation>
    </message>
    <message>
        <source>辅助故障电压</source>
        <translation>U aux. falha</translation>
    </message>
    <message>
        <source>故障前时间:</source>
        <translation>T.pré:</translation>
    </message>
    <message>
        <source>间隔时间:</source>
        <translation>T.interv.:</translation>
    </message>
    <message>
        <source>Fault VPN</source>
        <translation>U falha</translation>
    </message>
    <message>
        <source>仅输出一次</source>
        <translation>Saída única</translation>
    </message>
    <message>
        <source>I-Angle</source>
        <translation>Âng. I</translation>
    </message>
    <message>
        <source>故障类型</source>
        <translation>Tipo falha</translation>
    </message>
    <message>
        <source>绝对值</source>
        <translation>Valor</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>最小时间</source>
        <translation>T.mín</translation>
    </message>
    <message>
        <source>最大时间</source>
        <translation>T.máx</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>T.atuação</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>ED</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Sem rearme</translation>
    </message>
    <message>
        <source>Curve</source>
        <translation>Curva</translation>
    </message>
</context>
<context>
    <name>ModelRampingPage</name>
    <message>
        <source>未测试</source>
        <translation>Não testado</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>A testar</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Aprovado</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Reprovado</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>偏差</source>
        <translation>Desvio</translation>
    </message>
    <message>
        <source>电压</source>
        <translation>Tensão</translation>
    </message>
    <message>
        <source>电流</source>
        <translation>Corrente</translation>
    </message>
    <message>
        <source>额定</source>
        <translation>Nominal</translation>
    </message>
    <message>
        <source>平衡</source>
        <translation>Equilibrar</translation>
    </message>
    <message>
        <source>正序</source>
        <translation>Direta</translation>
    </message>
    <message>
        <source>负序</source>
        <translation>Inversa</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Parâmetros</translation>
    </message>
    <message>
        <source>触发逻辑</source>
        <translation>Disparo</translation>
    </message>
    <message>
        <source>步长:</source>
        <translation>Passo:</translation>
    </message>
    <message>
        <source>终值:</source>
        <translation>Final:</translation>
    </message>
    <message>
        <source>步长时间:</source>
        <translation>Tempo:</translation>
    </message>
    <message>
        <source>变量选择:</source>
        <translation>Variável:</translation>
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
        <translation>Fase</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Freq.</translation>
    </message>
    <message>
        <source>功能:</source>
        <translation>Função:</translation>
    </message>
    <message>
        <source>输出方式:</source>
        <translation>Ângulo:</translation>
    </message>
    <message>
        <source>连续</source>
        <translation>Contínuo</translation>
    </message>
    <message>
        <source>Abs.Angle</source>
        <translation>Âng.abs.</translation>
    </message>
    <message>
        <source>故障前时间:</source>
        <translation>T.pré:</translation>
    </message>
    <message>
        <source>间隔时间:</source>
        <translation>T.interv.:</translation>
    </message>
    <message>
        <source>仅输出一次</source>
        <translation>Saída única</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Adicionar</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>测试结果</source>
        <translation>Resultado do teste</translation>
    </message>
    <message>
        <source>变量</source>
        <translation>Variável</translation>
    </message>
    <message>
        <source>功能</source>
        <translation>Função</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>T.atuação</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>V.atuação</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>ED</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Sem rearme</translation>
    </message>
</context>
<context>
    <name>ModelSettingsPage</name>
    <message>
        <source>系统配置</source>
        <translation>Sistema</translation>
    </message>
    <message>
        <source>硬件配置</source>
        <translation>Hardware</translation>
    </message>
    <message>
        <source>电池配置</source>
        <translation>Bateria</translation>
    </message>
    <message>
        <source>对时设置</source>
        <translation>Sincronização</translation>
    </message>
    <message>
        <source>输出校准</source>
        <translation>Calibração</translation>
    </message>
    <message>
        <source>额定电压:</source>
        <translation>U nom.:</translation>
    </message>
    <message>
        <source>额定电流:</source>
        <translation>I nom.:</translation>
    </message>
    <message>
        <source>额定频率:</source>
        <translation>f nom.:</translation>
    </message>
    <message>
        <source>防抖时间:</source>
        <translation>Filtro:</translation>
    </message>
    <message>
        <source>屏保时间</source>
        <translation>Ecrã</translation>
    </message>
    <message>
        <source>系统时间:</source>
        <translation>Hora:</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Definir</translation>
    </message>
    <message>
        <source>系统语言:</source>
        <translation>Idioma:</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>Chinês</translation>
    </message>
    <message>
        <source>英文</source>
        <translation>Inglês</translation>
    </message>
    <message>
        <source>葡萄牙文</source>
        <translation>Português</translation>
    </message>
    <message>
        <source>输出方式</source>
        <translation>Saída</translation>
    </message>
    <message>
        <source>功放输出</source>
        <translation>Amplificador</translation>
    </message>
    <message>
        <source>小信号</source>
        <translation>Baixo nível</translation>
    </message>
    <message>
        <source>按键音</source>
        <translation>Som teclas</translation>
    </message>
    <message>
        <source>系统主题:</source>
        <translation>Tema:</translation>
    </message>
    <message>
        <source>系统默认</source>
        <translation>Padrão</translation>
    </message>
    <message>
        <source>黑色高亮</source>
        <translation>Preto</translation>
    </message>
    <message>
        <source>机器型号:</source>
        <translation>Modelo:</translation>
    </message>
    <message>
        <source>软件版本:</source>
        <translation>SW:</translation>
    </message>
    <message>
        <source>机器编号:</source>
        <translation>N.º:</translation>
    </message>
    <message>
        <source>固件版本:</source>
        <translation>FW:</translation>
    </message>
    <message>
        <source>软件升级</source>
        <translation>Atualização</translation>
    </message>
    <message>
        <source>请输入密码...</source>
        <translation>Introduza a senha...</translation>
    </message>
    <message>
        <source>请重新输入密码...</source>
        <translation>Repita a senha...</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>是否需要切换系统语言？</source>
        <translation>Mudar o idioma do sistema?</translation>
    </message>
</context>
<context>
    <name>ModelSlipFrequencyPage</name>
    <message>
        <source>频率始值</source>
        <translation>f inicial</translation>
    </message>
    <message>
        <source>频率终值</source>
        <translation>f final</translation>
    </message>
    <message>
        <source>频率滑差</source>
        <translation>df/dt</translation>
    </message>
    <message>
        <source>动作频率</source>
        <translation>Freq. atuação</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Tempo atuação</translation>
    </message>
    <message>
        <source>低流闭锁</source>
        <translation>Bloq. I baixa</translation>
    </message>
    <message>
        <source>电压闭锁</source>
        <translation>Bloq. U</translation>
    </message>
    <message>
        <source>频率步长</source>
        <translation>Passo f</translation>
    </message>
    <message>
        <source>计时频率</source>
        <translation>f tempor.</translation>
    </message>
    <message>
        <source>滑差始值</source>
        <translation>Taxa inic.</translation>
    </message>
    <message>
        <source>滑差终值</source>
        <translation>Taxa final</translation>
    </message>
    <message>
        <source>滑差步长</source>
        <translation>Passo taxa</translation>
    </message>
    <message>
        <source>电流始值</source>
        <translation>I inicial</translation>
    </message>
    <message>
        <source>电流终值</source>
        <translation>I final</translation>
    </message>
    <message>
        <source>电流步长</source>
        <translation>Passo I</translation>
    </message>
    <message>
        <source>电压始值</source>
        <translation>U inicial</translation>
    </message>
    <message>
        <source>电压终值</source>
        <translation>U final</translation>
    </message>
    <message>
        <source>电压步长</source>
        <translation>Passo U</translation>
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
        <translation>Tensão atuação</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Tempo atuação</translation>
    </message>
    <message>
        <source>低流闭锁</source>
        <translation>Bloq. I baixa</translation>
    </message>
    <message>
        <source>电压始值</source>
        <translation>U inicial</translation>
    </message>
    <message>
        <source>电压终值</source>
        <translation>U final</translation>
    </message>
    <message>
        <source>电压步长</source>
        <translation>Passo U</translation>
    </message>
    <message>
        <source>计时电压</source>
        <translation>U tempor.</translation>
    </message>
    <message>
        <source>滑差始值</source>
        <translation>Taxa inic.</translation>
    </message>
    <message>
        <source>滑差终值</source>
        <translation>Taxa final</translation>
    </message>
    <message>
        <source>滑差步长</source>
        <translation>Passo taxa</translation>
    </message>
    <message>
        <source>电流始值</source>
        <translation>I inicial</translation>
    </message>
    <message>
        <source>电流终值</source>
        <translation>I final</translation>
    </message>
    <message>
        <source>电流步长</source>
        <translation>Passo I</translation>
    </message>
</context>
<context>
    <name>ModelStateSequencePage</name>
    <message>
        <source>状态</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>测试中</source>
        <translation>A testar</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Sem atuação</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Não testado</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Aprovado</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Reprovado</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>ED</translation>
    </message>
    <message>
        <source>开出</source>
        <translation>SD</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Iniciar</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Parar</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>偏差</source>
        <translation>Desvio</translation>
    </message>
    <message>
        <source>上一状态</source>
        <translation>Anterior</translation>
    </message>
    <message>
        <source>后一状态</source>
        <translation>Seguinte</translation>
    </message>
    <message>
        <source>插入状态</source>
        <translation>Inserir</translation>
    </message>
    <message>
        <source>添加状态</source>
        <translation>Adic.</translation>
    </message>
    <message>
        <source>删除状态</source>
        <translation>Elim.</translation>
    </message>
    <message>
        <source>电压</source>
        <translation>Tensão</translation>
    </message>
    <message>
        <source>电流</source>
        <translation>Corrente</translation>
    </message>
    <message>
        <source>额定</source>
        <translation>Nominal</translation>
    </message>
    <message>
        <source>平衡</source>
        <translation>Equilibrar</translation>
    </message>
    <message>
        <source>正序</source>
        <translation>Direta</translation>
    </message>
    <message>
        <source>负序</source>
        <translation>Inversa</translation>
    </message>
    <message>
        <source>触发方式:</source>
        <translation>Disparo:</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>接点</source>
        <translation>Binário</translation>
    </message>
    <message>
        <source>时间+接点</source>
        <translation>Tempo+Bin.</translation>
    </message>
    <message>
        <source>故障计算</source>
        <translation>Calc.</translation>
    </message>
    <message>
        <source>输出方式:</source>
        <translation>Ângulo:</translation>
    </message>
    <message>
        <source>连续</source>
        <translation>Contínuo</translation>
    </message>
    <message>
        <source>Abs.Angle</source>
        <translation>Âng.abs.</translation>
    </message>
    <message>
        <source>时间:</source>
        <translation>Tempo:</translation>
    </message>
    <message>
        <source>时间设置</source>
        <translation>Disparo</translation>
    </message>
    <message>
        <source>逻辑:</source>
        <translation>Lógica:</translation>
    </message>
    <message>
        <source>与</source>
        <translation>E</translation>
    </message>
    <message>
        <source>或</source>
        <translation>Ou</translation>
    </message>
    <message>
        <source>开入:</source>
        <translation>ED:</translation>
    </message>
    <message>
        <source>开出:</source>
        <translation>SD:</translation>
    </message>
    <message>
        <source>测试结果</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>评估结果</source>
        <translation>Avaliação</translation>
    </message>
    <message>
        <source>事件记录</source>
        <translation>Eventos</translation>
    </message>
    <message>
        <source>开入量1</source>
        <translation>ED 1</translation>
    </message>
    <message>
        <source>开入量2</source>
        <translation>ED 2</translation>
    </message>
    <message>
        <source>开入量3</source>
        <translation>ED 3</translation>
    </message>
    <message>
        <source>开入量4</source>
        <translation>ED 4</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Adicionar</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Limpar</translation>
    </message>
    <message>
        <source>实际时间</source>
        <translation>T.real</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>信号</source>
        <translation>Sinal</translation>
    </message>
    <message>
        <source>状态变换</source>
        <translation>Transição</translation>
    </message>
</context>
<context>
    <name>ModelStdSourcePage</name>
    <message>
        <source>单项有功功率</source>
        <translation>Potência ativa monofásica</translation>
    </message>
    <message>
        <source>三相四线(Y型接法)有功功率</source>
        <translation>Trifásico 4 fios (Y) potência ativa</translation>
    </message>
    <message>
        <source>三相三线(V型接法)有功功率</source>
        <translation>Trifásico 3 fios (V) potência ativa</translation>
    </message>
    <message>
        <source>三相三线(△型接法)有功功率</source>
        <translation>Trifásico 3 fios (Δ) potência ativa</translation>
    </message>
    <message>
        <source>三相四线(Y型接法)真无功功率</source>
        <translation>Trifásico 4 fios (Y) potência reativa verdadeira</translation>
    </message>
    <message>
        <source>三相三线(V型接法)真无功功率</source>
        <translation>Trifásico 3 fios (V) potência reativa verdadeira</translation>
    </message>
    <message>
        <source>三相三线(△型接法)真无功功率</source>
        <translation>Trifásico 3 fios (Δ) potência reativa verdadeira</translation>
    </message>
    <message>
        <source>三元件90°无功功率</source>
        <translation>3 elementos 90° potência reativa</translation>
    </message>
    <message>
        <source>二元件90°无功功率</source>
        <translation>2 elementos 90° potência reativa</translation>
    </message>
    <message>
        <source>分元无效</source>
        <translation>Não aplicável</translation>
    </message>
    <message>
        <source>三元件</source>
        <translation>3 elementos</translation>
    </message>
    <message>
        <source>A元件</source>
        <translation>Elemento A</translation>
    </message>
    <message>
        <source>B元件</source>
        <translation>Elemento B</translation>
    </message>
    <message>
        <source>C元件</source>
        <translation>Elemento C</translation>
    </message>
    <message>
        <source>二元件</source>
        <translation>2 elementos</translation>
    </message>
    <message>
        <source>工作方式</source>
        <translation>Modo de trabalho</translation>
    </message>
    <message>
        <source>功率因数</source>
        <translation>cos φ</translation>
    </message>
    <message>
        <source>功率相角</source>
        <translation>Ângulo φ</translation>
    </message>
    <message>
        <source>分元选择</source>
        <translation>Elemento</translation>
    </message>
    <message>
        <source>电压幅值</source>
        <translation>Tensão</translation>
    </message>
    <message>
        <source>电流幅值</source>
        <translation>Corrente</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Freq.</translation>
    </message>
    <message>
        <source>有功功率</source>
        <translation>P ativa</translation>
    </message>
    <message>
        <source>无功功率</source>
        <translation>Q reat.</translation>
    </message>
    <message>
        <source>视在功率</source>
        <translation>S apar.</translation>
    </message>
</context>
<context>
    <name>ModelSystemCalPage</name>
    <message>
        <source>小信号</source>
        <translation>Baixo nível</translation>
    </message>
    <message>
        <source>功放</source>
        <translation>Amplificador</translation>
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
        <translation>CC</translation>
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
        <translation>Fase</translation>
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
        <translation>CC aux</translation>
    </message>
    <message>
        <source>是否需要保存校准系数？</source>
        <translation>Guardar os coeficientes de calibração?</translation>
    </message>
    <message>
        <source>导出系数</source>
        <translation>Exportar</translation>
    </message>
    <message>
        <source>导入系数</source>
        <translation>Importar</translation>
    </message>
    <message>
        <source>校准系数导出成功!</source>
        <translation>Coeficientes exportados!</translation>
    </message>
    <message>
        <source>没有可导出校准系数文件!</source>
        <translation>Sem ficheiros de coeficientes para exportar!</translation>
    </message>
    <message>
        <source>校准系数导入成功!</source>
        <translation>Coeficientes importados!</translation>
    </message>
    <message>
        <source>没有可导入校准系数文件!</source>
        <translation>Sem ficheiros de coeficientes para importar!</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Iniciar</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>加载</source>
        <translation>Carregar</translation>
    </message>
    <message>
        <source>删除选中</source>
        <translation>Limpar</translation>
    </message>
    <message>
        <source>删除全部</source>
        <translation>Repor</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Fechar</translation>
    </message>
</context>
<context>
    <name>ModelSystemCfgPage</name>
    <message>
        <source>机器型号:</source>
        <translation>Modelo:</translation>
    </message>
    <message>
        <source>机器编号:</source>
        <translation>N.º:</translation>
    </message>
    <message>
        <source>保护温度:</source>
        <translation>Temp. limite:</translation>
    </message>
    <message>
        <source>恢复温度:</source>
        <translation>Temp. retoma:</translation>
    </message>
    <message>
        <source>最大输出电压:</source>
        <translation>U máx.:</translation>
    </message>
    <message>
        <source>电压档位:</source>
        <translation>Gama U:</translation>
    </message>
    <message>
        <source>最大输出电流:</source>
        <translation>I máx.:</translation>
    </message>
    <message>
        <source>电流档位:</source>
        <translation>Gama I:</translation>
    </message>
    <message>
        <source>电压功放相数:</source>
        <translation>Fases U:</translation>
    </message>
    <message>
        <source>电流功放相数:</source>
        <translation>Fases I:</translation>
    </message>
    <message>
        <source>功放类型</source>
        <translation>Tipo amplif.</translation>
    </message>
    <message>
        <source>模拟功放</source>
        <translation>Analógico</translation>
    </message>
    <message>
        <source>数字功放</source>
        <translation>Digital</translation>
    </message>
    <message>
        <source>AuxDC Type</source>
        <translation>Tipo CC aux.</translation>
    </message>
    <message>
        <source>Constant</source>
        <translation>Fixo</translation>
    </message>
    <message>
        <source>Adjustable</source>
        <translation>Ajustável</translation>
    </message>
    <message>
        <source>AuxDC Max</source>
        <translation>CC aux. máx.</translation>
    </message>
    <message>
        <source>AuxDC Enable</source>
        <translation>CC aux. ativa</translation>
    </message>
    <message>
        <source>电池配置</source>
        <translation>Bateria</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Fechar</translation>
    </message>
</context>
<context>
    <name>ModelSystemTimeSynPage</name>
    <message>
        <source>时钟源</source>
        <translation>Fonte relógio</translation>
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
        <translation>Fuso</translation>
    </message>
    <message>
        <source>自动调整夏令时</source>
        <translation>Hora verão auto.</translation>
    </message>
    <message>
        <source>外部触发输入</source>
        <translation>Entrada disparo ext.</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>对时脉冲</source>
        <translation>Sinc.</translation>
    </message>
    <message>
        <source>外部脉冲</source>
        <translation>Imp. ext.</translation>
    </message>
    <message>
        <source>方式</source>
        <translation>Modo</translation>
    </message>
    <message>
        <source>下降沿</source>
        <translation>Descida</translation>
    </message>
    <message>
        <source>上升沿</source>
        <translation>Subida</translation>
    </message>
    <message>
        <source>外部触发输出</source>
        <translation>Saída disparo ext.</translation>
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
        <translation>Aplicar</translation>
    </message>
    <message>
        <source>时区列表无法读取：不显示时区，时钟不按时区偏移。</source>
        <translation>A lista de fusos horários não pôde ser lida: nenhum fuso é mostrado e o relógio não aplica desvio.</translation>
    </message>
</context>
<context>
    <name>ModelUartBatCfgPage</name>
    <message>
        <source>总电压:</source>
        <translation>U total:</translation>
    </message>
    <message>
        <source>平均电压:</source>
        <translation>U média:</translation>
    </message>
    <message>
        <source>最高电压:</source>
        <translation>U máx.:</translation>
    </message>
    <message>
        <source>最低电压:</source>
        <translation>U mín.:</translation>
    </message>
    <message>
        <source>压差:</source>
        <translation>ΔU:</translation>
    </message>
    <message>
        <source>电流:</source>
        <translation>Corrente:</translation>
    </message>
    <message>
        <source>标称容量:</source>
        <translation>Capac.:</translation>
    </message>
    <message>
        <source>剩余容量:</source>
        <translation>Resta:</translation>
    </message>
    <message>
        <source>循环次数:</source>
        <translation>Ciclos:</translation>
    </message>
    <message>
        <source>软件版本:</source>
        <translation>SW:</translation>
    </message>
    <message>
        <source>保护状态:</source>
        <translation>Proteção:</translation>
    </message>
    <message>
        <source>MOS状态:</source>
        <translation>MOS:</translation>
    </message>
    <message>
        <source>ContinueT</source>
        <translation>Duração</translation>
    </message>
    <message>
        <source>Battery Type</source>
        <translation>Tipo bateria</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>Bateria</translation>
    </message>
    <message>
        <source>激活充电</source>
        <translation>Ativar carga</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>是否需要激活充电？</source>
        <translation>Ativar a carga?</translation>
    </message>
</context>
<context>
    <name>ModuleFileDialog</name>
    <message>
        <source>参数文件已存在, 确定要覆盖文件?</source>
        <translation>O ficheiro já existe. Substituir?</translation>
    </message>
    <message>
        <source>保存参数成功！</source>
        <translation>Parâmetros guardados!</translation>
    </message>
    <message>
        <source>保存参数失败！</source>
        <translation>Falha ao guardar os parâmetros!</translation>
    </message>
    <message>
        <source>报告文件已存在, 确定要覆盖文件?</source>
        <translation>O ficheiro já existe. Substituir?</translation>
    </message>
    <message>
        <source>保存报告成功！</source>
        <translation>Relatório guardado!</translation>
    </message>
    <message>
        <source>保存报告失败！</source>
        <translation>Falha ao guardar o relatório!</translation>
    </message>
    <message>
        <source>导入参数成功！</source>
        <translation>Parâmetros importados!</translation>
    </message>
    <message>
        <source>导入参数失败！</source>
        <translation>Falha ao importar os parâmetros!</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Aviso</translation>
    </message>
</context>
<context>
    <name>PageBottomBar</name>
    <message>
        <source>开始</source>
        <translation>Iniciar</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Parar</translation>
    </message>
    <message>
        <source>开入:</source>
        <translation>ED:</translation>
    </message>
    <message>
        <source>开出:</source>
        <translation>SD:</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Ficheiro</translation>
    </message>
</context>
<context>
    <name>PageMessageDialog</name>
    <message>
        <source>系统提示</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>PageTriggerPanel</name>
    <message>
        <source>逻辑:</source>
        <translation>Lógica:</translation>
    </message>
    <message>
        <source>与</source>
        <translation>E</translation>
    </message>
    <message>
        <source>或</source>
        <translation>Ou</translation>
    </message>
    <message>
        <source>开入:</source>
        <translation>ED:</translation>
    </message>
    <message>
        <source>开出:</source>
        <translation>SD:</translation>
    </message>
</context>
<context>
    <name>ParameterFileFlow</name>
    <message>
        <source>参数文件已存在, 确定要覆盖文件?</source>
        <translation>O ficheiro já existe. Substituir?</translation>
    </message>
    <message>
        <source>保存参数成功！</source>
        <translation>Parâmetros guardados!</translation>
    </message>
    <message>
        <source>保存参数失败！</source>
        <translation>Falha ao guardar os parâmetros!</translation>
    </message>
    <message>
        <source>报告文件已存在, 确定要覆盖文件?</source>
        <translation>O ficheiro já existe. Substituir?</translation>
    </message>
    <message>
        <source>保存报告成功！</source>
        <translation>Relatório guardado!</translation>
    </message>
    <message>
        <source>保存报告失败！</source>
        <translation>Falha ao guardar o relatório!</translation>
    </message>
    <message>
        <source>导入参数成功！</source>
        <translation>Parâmetros importados!</translation>
    </message>
    <message>
        <source>导入参数失败！</source>
        <translation>Falha ao importar os parâmetros!</translation>
    </message>
</context>
<context>
    <name>PointResultList</name>
    <message>
        <source>测试结果</source>
        <translation>Resultado do teste</translation>
    </message>
</context>
<context>
    <name>UpgradeDialog</name>
    <message>
        <source>文件已找到,请核对版本号!点击确定开始升级！</source>
        <translation>Ficheiro encontrado, verifique a versão! Prima OK para atualizar!</translation>
    </message>
    <message>
        <source>升级文件不存在！请重新插入U盘。</source>
        <translation>Ficheiro de atualização inexistente! Insira novamente a pen USB.</translation>
    </message>
    <message>
        <source>升级失败！请联系技术支持。</source>
        <translation>Falha na atualização! Contacte o suporte técnico.</translation>
    </message>
    <message>
        <source>正在升级!升级完成自动重启。</source>
        <translation>A atualizar! Reinicia automaticamente no fim.</translation>
    </message>
</context>
<context>
    <name>UserAuxDCDialog</name>
    <message>
        <source>辅助直流输出设置</source>
        <translation>Saída CC auxiliar</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Deslig.</translation>
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
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>UserExportCalDialog</name>
    <message>
        <source>导出校准系数</source>
        <translation>Exportar coeficientes</translation>
    </message>
    <message>
        <source>小信号</source>
        <translation>Baixo nív.</translation>
    </message>
    <message>
        <source>电压功放</source>
        <translation>Ampl. U</translation>
    </message>
    <message>
        <source>电流功放</source>
        <translation>Ampl. I</translation>
    </message>
    <message>
        <source>备份文件夹：</source>
        <translation>Pasta de cópia:</translation>
    </message>
    <message>
        <source>U盘不存在！</source>
        <translation>Sem pen USB!</translation>
    </message>
</context>
<context>
    <name>UserInputDialog</name>
    <message>
        <source>请输入</source>
        <translation>Introduza</translation>
    </message>
</context>
<context>
    <name>UserMultiDialog</name>
    <message>
        <source>添加多点</source>
        <translation>Adicionar pontos</translation>
    </message>
    <message>
        <source>Begin</source>
        <translation>Início</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Fim</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Passo</translation>
    </message>
</context>
<context>
    <name>UserPasswordDialog</name>
    <message>
        <source>请输入密码...</source>
        <translation>Introduza a senha...</translation>
    </message>
</context>
<context>
    <name>UserReportDialog</name>
    <message>
        <source>保存或导出报告。</source>
        <translation>Guardar ou exportar o relatório.</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Guardar</translation>
    </message>
</context>
<context>
    <name>UserReportParmDialog</name>
    <message>
        <source>File</source>
        <translation>Ficheiro</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>报告</source>
        <translation>Relatório</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Parâmetros</translation>
    </message>
    <message>
        <source>从文件配置参数</source>
        <translation>Carregar</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>Nome do ficheiro</translation>
    </message>
</context>
<context>
    <name>UserSelectedDialog</name>
    <message>
        <source>请选择</source>
        <translation>Selecione</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Estado</translation>
    </message>
</context>
<context>
    <name>UserTriggerTimeDialog</name>
    <message>
        <source>触发时间设置</source>
        <translation>Tempos de disparo</translation>
    </message>
    <message>
        <source>时间列表</source>
        <translation>Lista de tempos</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>N.º</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>开始时间</source>
        <translation>Hora início</translation>
    </message>
    <message>
        <source>时间间隔</source>
        <translation>Intervalo</translation>
    </message>
    <message>
        <source>个数</source>
        <translation>Número</translation>
    </message>
    <message>
        <source>添加时间点</source>
        <translation>Adicionar</translation>
    </message>
    <message>
        <source>删除时间点</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>清除时间点</source>
        <translation>Limpar</translation>
    </message>
</context>
<context>
    <name>UserUpgradeDialog</name>
    <message>
        <source>升级文件:</source>
        <translation>Ficheiro:</translation>
    </message>
    <message>
        <source>软件升级</source>
        <translation>Atualização</translation>
    </message>
</context>
<context>
    <name>ViewAlternateModel</name>
    <message>
        <source>故障无法计算，输出值未改变：请检查短路阻抗和计算模型。</source>
        <translation>Falha impossível de calcular; saídas inalteradas: verifique a impedância de curto-circuito e o modelo.</translation>
    </message>
    <message>
        <source>Variable port</source>
        <translation>Fase variável</translation>
    </message>
    <message>
        <source>Action value</source>
        <translation>Valor de atuação</translation>
    </message>
    <message>
        <source>Return value</source>
        <translation>Valor de retorno</translation>
    </message>
    <message>
        <source>Return Coefficient</source>
        <translation>Coef. de retorno</translation>
    </message>
    <message>
        <source>Action time</source>
        <translation>Tempo de atuação</translation>
    </message>
    <message>
        <source>Return time</source>
        <translation>Tempo de retorno</translation>
    </message>
</context>
<context>
    <name>ViewBaseModel</name>
    <message>
        <source>电压高压引入告警</source>
        <translation>Alarme: alta tensão externa nas saídas U</translation>
    </message>
    <message>
        <source>小信号高压引入告警</source>
        <translation>Alarme: alta tensão externa nas saídas de baixo nível</translation>
    </message>
    <message>
        <source>电压短路告警</source>
        <translation>Alarme: curto-circuito de tensão</translation>
    </message>
    <message>
        <source>功放高温告警</source>
        <translation>Alarme: sobretemperatura do amplificador</translation>
    </message>
    <message>
        <source>电流IA开路告警</source>
        <translation>Alarme: circuito aberto em IA</translation>
    </message>
    <message>
        <source>电流IB开路告警</source>
        <translation>Alarme: circuito aberto em IB</translation>
    </message>
    <message>
        <source>电流IC开路告警</source>
        <translation>Alarme: circuito aberto em IC</translation>
    </message>
    <message>
        <source>电流IX开路告警</source>
        <translation>Alarme: circuito aberto em IX</translation>
    </message>
    <message>
        <source>内部存储较低</source>
        <translation>Memória interna baixa</translation>
    </message>
    <message>
        <source>电压功放</source>
        <translation>Amplif. tensão</translation>
    </message>
    <message>
        <source>电流功放</source>
        <translation>Amplif. corrente</translation>
    </message>
    <message>
        <source>充电开/</source>
        <translation>Carga lig./</translation>
    </message>
    <message>
        <source>充电关/</source>
        <translation>Carga desl./</translation>
    </message>
    <message>
        <source>放电开</source>
        <translation>Descarga lig.</translation>
    </message>
    <message>
        <source>放电关</source>
        <translation>Descarga desl.</translation>
    </message>
    <message>
        <source>AC Test</source>
        <translation>Teste CA</translation>
    </message>
    <message>
        <source>Harmonic Test</source>
        <translation>Teste de harmónicos</translation>
    </message>
    <message>
        <source>State Sequence</source>
        <translation>Sequência de estados</translation>
    </message>
    <message>
        <source>Distance Test</source>
        <translation>Teste de distância</translation>
    </message>
    <message>
        <source>Ramping Test</source>
        <translation>Teste de rampa</translation>
    </message>
    <message>
        <source>Overcurrent Test</source>
        <translation>Teste de sobrecorrente</translation>
    </message>
    <message>
        <source>DC Test</source>
        <translation>Teste CC</translation>
    </message>
    <message>
        <source>Energy Test</source>
        <translation>Teste de contador</translation>
    </message>
    <message>
        <source>Slip Frequency</source>
        <translation>Deslastre por frequência</translation>
    </message>
    <message>
        <source>Slip Voltage</source>
        <translation>Deslastre por tensão</translation>
    </message>
    <message>
        <source>Oscillate Test</source>
        <translation>Teste de oscilação de potência</translation>
    </message>
    <message>
        <source>Standard Source</source>
        <translation>Fonte padrão</translation>
    </message>
    <message>
        <source>Test Report</source>
        <translation>Relatório de teste</translation>
    </message>
    <message>
        <source>Customer</source>
        <translation>Cliente</translation>
    </message>
    <message>
        <source>PO No</source>
        <translation>N.º encomenda</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Morada</translation>
    </message>
    <message>
        <source>Contact No</source>
        <translation>Contacto</translation>
    </message>
    <message>
        <source>Test Module</source>
        <translation>Módulo de teste</translation>
    </message>
    <message>
        <source>Test item</source>
        <translation>Item de teste</translation>
    </message>
    <message>
        <source>Test time</source>
        <translation>Hora do teste</translation>
    </message>
    <message>
        <source>Device Under Test</source>
        <translation>Equipamento em teste</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modelo</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Ser. No</source>
        <translation>N.º série</translation>
    </message>
    <message>
        <source>Equipment Use</source>
        <translation>Equipamento utilizado</translation>
    </message>
    <message>
        <source>Test Setting</source>
        <translation>Parâmetros do teste</translation>
    </message>
    <message>
        <source>Test Result</source>
        <translation>Resultado do teste</translation>
    </message>
    <message>
        <source>Passed</source>
        <translation>Aprovado</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Reprovado</translation>
    </message>
    <message>
        <source>Remarks</source>
        <translation>Observações</translation>
    </message>
    <message>
        <source>Tested by</source>
        <translation>Testado por</translation>
    </message>
    <message>
        <source>Checked by</source>
        <translation>Verificado por</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>配置文件 %1 无法读取，其中的设置按默认值运行；原文件予以保留。</source>
        <translation>O ficheiro de configuração %1 não pode ser lido: as suas definições usam os valores por defeito. O ficheiro é guardado.</translation>
    </message>
    <message>
        <source>以下校准文件已损坏，无法读取的校准系数按默认值运行：%1</source>
        <translation>Estes ficheiros de calibração estão danificados; os coeficientes que não puderam ser lidos usam os valores por defeito: %1</translation>
    </message>
    <message>
        <source>有输出值不是有效数值或超出范围，试验未开始。</source>
        <translation>Um valor de saída não é um número válido ou está fora do intervalo: o teste não foi iniciado.</translation>
    </message>
    <message>
        <source>状态数或测试点数超出允许范围，试验未开始。</source>
        <translation>O número de estados ou de pontos de teste está fora do intervalo: o teste não foi iniciado.</translation>
    </message>
    <message>
        <source>变化步数过多，超出仪器可输出的状态数，试验未开始。</source>
        <translation>Demasiados passos de variação, mais estados do que o equipamento consegue gerar: o teste não foi iniciado.</translation>
    </message>
    <message>
        <source>功率和电能表常数都必须大于零，否则无法输出脉冲，试验未开始。</source>
        <translation>A potência e a constante do contador têm de ser maiores que zero para gerar impulsos: o teste não foi iniciado.</translation>
    </message>
    <message>
        <source>脉冲周期超出仪器可输出的范围，试验未开始。</source>
        <translation>O período dos impulsos está fora do que o equipamento consegue gerar: o teste não foi iniciado.</translation>
    </message>
    <message>
        <source>有输出值不是有效数值，或滑差不大于零，试验未开始。</source>
        <translation>Um valor de saída não é um número válido, ou uma taxa de variação não é maior que zero: o teste não foi iniciado.</translation>
    </message>
    <message>
        <source>步长为零，永远达不到终值，试验未开始。</source>
        <translation>Um passo de zero nunca atinge o valor final: o teste não foi iniciado.</translation>
    </message>
    <message>
        <source>仪器未能接受输出设置，试验未开始。</source>
        <translation>O equipamento não aceitou as definições de saída: o teste não foi iniciado.</translation>
    </message>
    <message>
        <source>设备未初始化</source>
        <translation>Equipamento não inicializado</translation>
    </message>
    <message>
        <source>功放温度过高，请待其冷却后再开始试验。</source>
        <translation>Os amplificadores estão demasiado quentes: deixe-os arrefecer antes de iniciar um teste.</translation>
    </message>
    <message>
        <source>联机测试无法启动，网络服务未能开启。</source>
        <translation>Não foi possível ativar o controlo remoto: o serviço de rede não arrancou.</translation>
    </message>
    <message>
        <source>联机测试无法启动：端口 %1 无法使用（%2）。</source>
        <translation>Não foi possível ativar o controlo remoto: a porta %1 não pode ser usada (%2).</translation>
    </message>
    <message>
        <source>状态%1至%2合计不足%3毫秒，仪器的8个输出页来不及补充，试验未开始。</source>
        <translation>Os estados %1 a %2 duram juntos menos de %3 ms: pouco para as oito páginas de saída do equipamento serem repostas a tempo. O teste não foi iniciado.</translation>
    </message>
    <message>
        <source>递变将使%1达到%2，超出其输出范围%3至%4，试验未开始。</source>
        <translation>A rampa levaria %1 a %2, fora dos %3 a %4 que a sua saída dá: o teste não foi iniciado.</translation>
    </message>
    <message>
        <source>%1 = %2 超出 %3 … %4。</source>
        <translation>%1 = %2 está fora de %3 … %4.</translation>
    </message>
    <message>
        <source>%1 = “%2” 不是此页可以接受的值。</source>
        <translation>%1 = “%2” não é um valor que esta página aceite.</translation>
    </message>
    <message>
        <source>参数文件无法读取，页面按默认值显示：%1</source>
        <translation>O ficheiro de parâmetros não pode ser lido; a página mostra os valores por defeito: %1</translation>
    </message>
    <message>
        <source>原文件保留为 %1。</source>
        <translation>O ficheiro é guardado como %1.</translation>
    </message>
    <message>
        <source>%1 在文件中出现了不止一次。</source>
        <translation>%1 aparece mais de uma vez no ficheiro.</translation>
    </message>
    <message>
        <source>%1 = %2 超出此页范围，按 %3 读入。</source>
        <translation>%1 = %2 está fora dos limites desta página: lido como %3.</translation>
    </message>
    <message>
        <source>页面的参数文件无法写入。</source>
        <translation>O ficheiro de parâmetros da página não pode ser escrito.</translation>
    </message>
    <message>
        <source>文件不完整或不是 XML 文件（第 %1 行）。</source>
        <translation>O ficheiro está incompleto ou não é um ficheiro XML (linha %1).</translation>
    </message>
    <message>
        <source>文件中有不能按 %1 读取的字节（第 %2 行）。</source>
        <translation>O ficheiro contém bytes que não podem ser lidos como %1 (linha %2).</translation>
    </message>
    <message>
        <source>不是参数文件。</source>
        <translation>Não é um ficheiro de parâmetros.</translation>
    </message>
    <message>
        <source>文件中有 XML 文件不能存放的字符。</source>
        <translation>O ficheiro contém caracteres que nenhum ficheiro XML pode conter.</translation>
    </message>
    <message>
        <source>输出将使%1达到%2，超出其输出范围%3至%4，试验未开始。</source>
        <translation>As saídas definidas levariam %1 a %2, fora dos %3 a %4 que a sua saída dá: o teste não foi iniciado.</translation>
    </message>
    <message>
        <source>步长时间%1短于防抖时间%2：动作要到其后数步才被确认，无法确定动作值，试验未开始。</source>
        <translation>O tempo do passo, %1, é menor do que o tempo de filtro, %2: um disparo só seria confirmado passos depois daquele em que ocorreu e o seu valor não poderia ser determinado. O teste não foi iniciado.</translation>
    </message>
    <message>
        <source>文件不完整或不是 XML 文件。</source>
        <translation>O ficheiro está incompleto ou não é um ficheiro XML.</translation>
    </message>
    <message>
        <source>校准系数未导入：%1含有无法读取的系数</source>
        <translation>Coeficientes não importados: %1 contém um coeficiente ilegível</translation>
    </message>
    <message>
        <source>校准系数未导入：%1为旧格式，不能导入</source>
        <translation>Coeficientes não importados: %1 está no formato antigo, que não pode ser importado</translation>
    </message>
    <message>
        <source>校准系数未导入：%1无法读取</source>
        <translation>Coeficientes não importados: %1 não pode ser lido</translation>
    </message>
    <message>
        <source>校准系数未导出：U盘上的%1不是文件夹</source>
        <translation>Coeficientes não exportados: %1 na pen USB não é uma pasta</translation>
    </message>
    <message>
        <source>校准系数未导出：%1无法写入U盘</source>
        <translation>Coeficientes não exportados: não foi possível escrever %1 na pen USB</translation>
    </message>
    <message>
        <source>校准系数未导入：%1无法复制到仪器</source>
        <translation>Coeficientes não importados: não foi possível copiar %1 para o instrumento</translation>
    </message>
    <message>
        <source>校准系数未导入：%1不是普通文件（是链接、管道、设备或文件夹）</source>
        <translation>Coeficientes não importados: %1 não é um ficheiro normal (mas uma ligação, pipe, dispositivo ou pasta)</translation>
    </message>
    <message>
        <source>%1（链接）</source>
        <translation>%1 (uma ligação)</translation>
    </message>
    <message>
        <source>%1（不是普通文件）</source>
        <translation>%1 (não é um ficheiro normal)</translation>
    </message>
    <message>
        <source>%1（不是文件夹）</source>
        <translation>%1 (não é uma pasta)</translation>
    </message>
    <message>
        <source>%1（不存在）</source>
        <translation>%1 (não existe)</translation>
    </message>
    <message>
        <source>%1（无法读取）</source>
        <translation>%1 (não pode ser lido)</translation>
    </message>
    <message>
        <source>%1（文件名无效）</source>
        <translation>%1 (nome de ficheiro inválido)</translation>
    </message>
    <message>
        <source>%1（无法写入）</source>
        <translation>%1 (não pode ser escrito)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>已导出 %1/%2 个文件。</source>
        <translation>Exportados %1 de %2 ficheiros.</translation>
    </message>
    <message>
        <source>已导入 %1/%2 个文件。</source>
        <translation>Importados %1 de %2 ficheiros.</translation>
    </message>
    <message>
        <source>已导出：%1</source>
        <translation>Exportados: %1</translation>
    </message>
    <message>
        <source>已导入：%1</source>
        <translation>Importados: %1</translation>
    </message>
    <message>
        <source>未导出：%1</source>
        <translation>Não exportados: %1</translation>
    </message>
    <message>
        <source>未导入：%1</source>
        <translation>Não importados: %1</translation>
    </message>
    <message>
        <source>文件过大（超过 %1 字节），无法读取。</source>
        <translation>O ficheiro é demasiado grande para ser lido (mais de %1 bytes).</translation>
    </message>
    <message>
        <source>升级文件不存在！请重新插入U盘。</source>
        <translation>Ficheiro de atualização inexistente! Insira novamente a pen USB.</translation>
    </message>
    <message>
        <source>升级文件无法使用：%1</source>
        <translation>Ficheiro de atualização recusado: %1</translation>
    </message>
    <message>
        <source>文件的元素、属性或嵌套层数超过仪器所写的任何此类文件。</source>
        <translation>O ficheiro tem mais elementos, atributos ou níveis de aninhamento do que qualquer ficheiro deste tipo que o equipamento escreve.</translation>
    </message>
    <message>
        <source>文件声明的编码无法识别。</source>
        <translation>O ficheiro declara uma codificação que não pode ser lida.</translation>
    </message>
    <message>
        <source>状态%1由GPS/IRIG-B触发，但未设置触发时间，试验未开始。</source>
        <translation>O estado %1 termina por GPS/IRIG-B, mas não há hora de disparo definida: o teste não foi iniciado.</translation>
    </message>
    <message>
        <source>U盘为只读</source>
        <translation>a pen USB só permite leitura</translation>
    </message>
    <message>
        <source>U盘已满</source>
        <translation>a pen USB está cheia</translation>
    </message>
    <message>
        <source>名称过长</source>
        <translation>o nome é demasiado longo</translation>
    </message>
    <message>
        <source>没有写入权限</source>
        <translation>sem permissão de escrita</translation>
    </message>
    <message>
        <source>校准系数未导出：无法在U盘上建立文件夹%1（%2）</source>
        <translation>Coeficientes não exportados: não foi possível criar a pasta %1 na pen USB (%2)</translation>
    </message>
    <message>
        <source>校准系数未导入：%1的元素、属性或嵌套层数超过仪器所写的任何校准文件</source>
        <translation>Coeficientes não importados: %1 tem mais elementos, atributos ou níveis de aninhamento do que qualquer ficheiro de calibração que o equipamento escreve</translation>
    </message>
    <message>
        <source>校准系数未导入：%1大于任何校准文件（超过 %2 字节）</source>
        <translation>Coeficientes não importados: %1 é maior do que qualquer ficheiro de calibração (mais de %2 bytes)</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Sem rearme</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Sem atuação</translation>
    </message>
    <message>
        <source>第%1点</source>
        <translation>Ponto %1</translation>
    </message>
    <message>
        <source>状态%1</source>
        <translation>Estado %1</translation>
    </message>
    <message>
        <source>评估%1</source>
        <translation>Avaliação %1</translation>
    </message>
    <message>
        <source>终值</source>
        <translation>Final</translation>
    </message>
    <message>
        <source>步长</source>
        <translation>Passo</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>相位</source>
        <translation>Fase</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Frequência</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>它不是普通文件，而是文件夹、管道、设备或套接字。</source>
        <translation>Não é um ficheiro normal, mas uma pasta, um pipe, um dispositivo ou um socket.</translation>
    </message>
    <message>
        <source>文件存在，但无法打开或读取（权限或存储介质故障）。</source>
        <translation>O ficheiro existe, mas não pôde ser aberto ou lido (permissões ou falha do suporte de armazenamento).</translation>
    </message>
    <message>
        <source>升级成功!正在自动重启。</source>
        <translation>Atualização concluída! A reiniciar.</translation>
    </message>
    <message>
        <source>升级失败！请联系技术支持。</source>
        <translation>Falha na atualização! Contacte o suporte técnico.</translation>
    </message>
    <message>
        <source>校准系数未导入：%1不含本类校准系数</source>
        <translation>Coeficientes não importados: %1 não contém coeficientes do seu tipo</translation>
    </message>
    <message>
        <source>配置文件 %1 中的 %2 为 %3，超出其范围，按 %4 运行。</source>
        <translation>No ficheiro de configuração %1, %2 contém %3, fora do seu intervalo: usa-se %4.</translation>
    </message>
    <message>
        <source>保存报告失败：报告文件夹 %1 通向应用程序文件夹之外。</source>
        <translation>Falha ao guardar o relatório: a pasta de relatórios %1 leva para fora da pasta da aplicação.</translation>
    </message>
</context>
<context>
    <name>ViewCalibrationModel</name>
    <message>
        <source>校准系数保存失败：%1</source>
        <translation>Falha ao guardar os coeficientes: %1</translation>
    </message>
    <message>
        <source>校准系数保存成功!</source>
        <translation>Coeficientes guardados!</translation>
    </message>
    <message>
        <source>没有测量任何校准点，校准系数未改变。</source>
        <translation>Nenhum ponto foi medido: os coeficientes não mudaram.</translation>
    </message>
    <message>
        <source>已保存的校准点：%1</source>
        <translation>Pontos de calibração guardados: %1</translation>
    </message>
</context>
<context>
    <name>ViewComputerDistanceModel</name>
    <message>
        <source>故障无法计算，输出值未改变：请检查短路阻抗和计算模型。</source>
        <translation>Falha impossível de calcular; saídas inalteradas: verifique a impedância de curto-circuito e o modelo.</translation>
    </message>
</context>
<context>
    <name>ViewDirectModel</name>
    <message>
        <source>Variable port</source>
        <translation>Fase variável</translation>
    </message>
    <message>
        <source>Action value</source>
        <translation>Valor de atuação</translation>
    </message>
    <message>
        <source>Return value</source>
        <translation>Valor de retorno</translation>
    </message>
    <message>
        <source>Return Coefficient</source>
        <translation>Coef. de retorno</translation>
    </message>
    <message>
        <source>Action time</source>
        <translation>Tempo de atuação</translation>
    </message>
    <message>
        <source>Return time</source>
        <translation>Tempo de retorno</translation>
    </message>
</context>
<context>
    <name>ViewDistanceModel</name>
    <message>
        <source>故障无法计算，输出值未改变：请检查短路阻抗和计算模型。</source>
        <translation>A falha não pode ser calculada; as saídas ficam inalteradas: verifique a impedância de falha e o modelo de cálculo.</translation>
    </message>
    <message>
        <source>Pre-Fault</source>
        <translation>Pré-falha</translation>
    </message>
    <message>
        <source>Fault-Interval</source>
        <translation>Pós-falha</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Modelo</translation>
    </message>
    <message>
        <source>Const Current</source>
        <translation>I constante</translation>
    </message>
    <message>
        <source>Fault-Current</source>
        <translation>Corrente de falha</translation>
    </message>
    <message>
        <source>Const Voltage</source>
        <translation>U constante</translation>
    </message>
    <message>
        <source>Fault-Voltage</source>
        <translation>Tensão de falha</translation>
    </message>
    <message>
        <source>CT Dir</source>
        <translation>Dir. TC</translation>
    </message>
    <message>
        <source>指向母线</source>
        <translation>Barras</translation>
    </message>
    <message>
        <source>指向线路</source>
        <translation>Linha</translation>
    </message>
    <message>
        <source>PT Dir</source>
        <translation>Dir. TT</translation>
    </message>
    <message>
        <source>在母线上</source>
        <translation>Barras</translation>
    </message>
    <message>
        <source>在线路上</source>
        <translation>Linha</translation>
    </message>
    <message>
        <source>Load-Current</source>
        <translation>Corrente de carga</translation>
    </message>
    <message>
        <source>Load-Angle</source>
        <translation>Ângulo de carga</translation>
    </message>
    <message>
        <source>Grounding</source>
        <translation>Compensação de terra</translation>
    </message>
    <message>
        <source>KL Range</source>
        <translation>KL Mód.</translation>
    </message>
    <message>
        <source>KL Angle</source>
        <translation>KL Âng.</translation>
    </message>
    <message>
        <source>Z0/Z1 Range</source>
        <translation>Z0/Z1 Mód.</translation>
    </message>
    <message>
        <source>Z0/Z1 Angle</source>
        <translation>Z0/Z1 Âng.</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Personalizado</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Ângulo</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Lógica</translation>
    </message>
    <message>
        <source>And</source>
        <translation>E</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>Ou</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Entrada digital</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Saída digital</translation>
    </message>
    <message>
        <source>Fault Kind</source>
        <translation>Tipo de falha</translation>
    </message>
    <message>
        <source>Fault Dir</source>
        <translation>Dir. falha</translation>
    </message>
    <message>
        <source>ZRange</source>
        <translation>Z Mód.</translation>
    </message>
    <message>
        <source>ZAngle</source>
        <translation>Z Âng.</translation>
    </message>
    <message>
        <source>T.nom</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>Dev</source>
        <translation>Desvio</translation>
    </message>
    <message>
        <source>Action Time</source>
        <translation>Tempo de atuação</translation>
    </message>
    <message>
        <source>DI</source>
        <translation>ED</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Direta</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Inversa</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Não testado</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Aprovado</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Reprovado</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Sem atuação</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Sem rearme</translation>
    </message>
    <message>
        <source>阻抗角</source>
        <translation>Âng. Z</translation>
    </message>
    <message>
        <source>故障时间</source>
        <translation>Tempo de falha</translation>
    </message>
</context>
<context>
    <name>ViewEnergyModel</name>
    <message>
        <source>第%1点的计数需要%2 s，超过仪器可计时的%3 s：请减少脉冲数或提高功率。</source>
        <translation>O ponto %1 precisa de %2 s de contagem, além dos %3 s que o aparelho mede: conte menos impulsos ou aumente a potência.</translation>
    </message>
    <message>
        <source>该点的计数需要%1 s，超过仪器可计时的%2 s：请减少脉冲数或提高功率。</source>
        <translation>Este ponto precisa de %1 s de contagem, além dos %2 s que o aparelho mede: conte menos impulsos ou aumente a potência.</translation>
    </message>
    <message>
        <source>Active Power</source>
        <translation>Potência ativa</translation>
    </message>
    <message>
        <source>Reactive Power</source>
        <translation>Potência reativa</translation>
    </message>
    <message>
        <source>Apparent Power</source>
        <translation>Potência aparente</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>Monofásico</translation>
    </message>
    <message>
        <source>3P4W</source>
        <translation>3F4C</translation>
    </message>
    <message>
        <source>3P3W</source>
        <translation>3F3C</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importação</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportação</translation>
    </message>
    <message>
        <source>Import/Export</source>
        <translation>Imp./Exp.</translation>
    </message>
    <message>
        <source>Meter type</source>
        <translation>Tipo de contador</translation>
    </message>
    <message>
        <source>Measure type</source>
        <translation>Ligação</translation>
    </message>
    <message>
        <source>Secondary</source>
        <translation>Secundário</translation>
    </message>
    <message>
        <source>Primary</source>
        <translation>Primário</translation>
    </message>
    <message>
        <source>Pulse/Quantity</source>
        <translation>Impulsos/Energia</translation>
    </message>
    <message>
        <source>Heat time</source>
        <translation>Aquecimento</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Arranque</translation>
    </message>
    <message>
        <source>Pulse Count</source>
        <translation>Impulsos/volta</translation>
    </message>
    <message>
        <source>Settling time</source>
        <translation>Estabilização</translation>
    </message>
    <message>
        <source>Pulse type</source>
        <translation>Tipo de impulso</translation>
    </message>
    <message>
        <source>Rising</source>
        <translation>Subida</translation>
    </message>
    <message>
        <source>Falling</source>
        <translation>Descida</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Sentido</translation>
    </message>
    <message>
        <source>Precision</source>
        <translation>Classe</translation>
    </message>
    <message>
        <source>Pulse constant</source>
        <translation>Constante de impulsos</translation>
    </message>
    <message>
        <source>Whether to send a local pulse</source>
        <translation>Enviar impulsos locais</translation>
    </message>
    <message>
        <source>Voltage</source>
        <translation>Tensão</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>Corrente</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequência</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>Potência</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Ângulo</translation>
    </message>
    <message>
        <source>Factor</source>
        <translation>Fator</translation>
    </message>
    <message>
        <source>Pulse</source>
        <translation>Impulsos</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Definido</translation>
    </message>
    <message>
        <source>Actual</source>
        <translation>Medido</translation>
    </message>
    <message>
        <source>Dev</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>NoTest</source>
        <translation>Não testado</translation>
    </message>
    <message>
        <source>Passed</source>
        <translation>Aprovado</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Reprovado</translation>
    </message>
    <message>
        <source>No Action</source>
        <translation>Sem atuação</translation>
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
        <translation>Sim</translation>
    </message>
    <message>
        <source>false</source>
        <translation>Não</translation>
    </message>
    <message>
        <source>第%1点没有可计数的电能（功率%2，脉冲数%3）：请检查电流、角度、脉冲数和表计类型。</source>
        <translation>O ponto %1 não tem nada a contar (potência %2, %3 impulsos): verifique a corrente, o ângulo, os impulsos e o tipo de contador.</translation>
    </message>
    <message>
        <source>该点没有可计数的电能（功率%1，脉冲数%2）：请检查电流、角度、脉冲数和表计类型。</source>
        <translation>Este ponto não tem nada a contar (potência %1, %2 impulsos): verifique a corrente, o ângulo, os impulsos e o tipo de contador.</translation>
    </message>
</context>
<context>
    <name>ViewHarmonicModel</name>
    <message>
        <source>Test mode</source>
        <translation>Modo de teste</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Automático</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Modo</translation>
    </message>
    <message>
        <source>From-to</source>
        <translation>Até atuar</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>Contínuo</translation>
    </message>
    <message>
        <source>Deglitch</source>
        <translation>Tempo anti-ressalto</translation>
    </message>
    <message>
        <source>Auto time</source>
        <translation>Tempo automático</translation>
    </message>
    <message>
        <source>Order</source>
        <translation>Ordem</translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>Percentage</source>
        <translation>Percentagem</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Variável</translation>
    </message>
    <message>
        <source>Test item</source>
        <translation>Item de teste</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Fase</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Fim</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Passo</translation>
    </message>
    <message>
        <source>Rate Frequency</source>
        <translation>Frequência nominal</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Lógica</translation>
    </message>
    <message>
        <source>And</source>
        <translation>E</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>Ou</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Entrada digital</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Saída digital</translation>
    </message>
    <message>
        <source>Base</source>
        <translation>Fundamental</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Não testado</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Aprovado</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Reprovado</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Sem atuação</translation>
    </message>
    <message>
        <source>T.nom</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>Dev</source>
        <translation>Desvio</translation>
    </message>
    <message>
        <source>Action time</source>
        <translation>Tempo de atuação</translation>
    </message>
    <message>
        <source>Action value</source>
        <translation>Valor de atuação</translation>
    </message>
    <message>
        <source>DI</source>
        <translation>ED</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>第%1次谐波的频率%2 Hz超出输出的频率上限%3 Hz，试验未开始。</source>
        <translation>A harmónica de ordem %1 tocaria %2 Hz, acima dos %3 Hz que as saídas dão: o teste não foi iniciado.</translation>
    </message>
    <message>
        <source>输出将使%1达到%2，超出其输出范围%3至%4，试验已停止。</source>
        <translation>As saídas definidas levariam %1 a %2, fora dos %3 a %4 que a sua saída dá: o teste foi parado.</translation>
    </message>
</context>
<context>
    <name>ViewLoadSheddingModel</name>
    <message>
        <source>未复归</source>
        <translation>Sem rearme</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Sem atuação</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>N.º</translation>
    </message>
    <message>
        <source>测试项目</source>
        <translation>Item de teste</translation>
    </message>
    <message>
        <source>动作值</source>
        <translation>Valor atuação</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Tempo atuação</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Não testado</translation>
    </message>
    <message>
        <source>失败：提前%1</source>
        <translation>Falhou: %1 antes</translation>
    </message>
    <message>
        <source>频率始值</source>
        <translation>f inicial</translation>
    </message>
    <message>
        <source>频率终值</source>
        <translation>f final</translation>
    </message>
    <message>
        <source>频率步长</source>
        <translation>Passo f</translation>
    </message>
    <message>
        <source>频率滑差</source>
        <translation>df/dt</translation>
    </message>
    <message>
        <source>计时频率</source>
        <translation>f tempor.</translation>
    </message>
    <message>
        <source>电压始值</source>
        <translation>U inicial</translation>
    </message>
    <message>
        <source>电压终值</source>
        <translation>U final</translation>
    </message>
    <message>
        <source>电压步长</source>
        <translation>Passo U</translation>
    </message>
    <message>
        <source>电压滑差</source>
        <translation>dU/dt</translation>
    </message>
    <message>
        <source>计时电压</source>
        <translation>U tempor.</translation>
    </message>
    <message>
        <source>滑差始值</source>
        <translation>Taxa inic.</translation>
    </message>
    <message>
        <source>滑差终值</source>
        <translation>Taxa final</translation>
    </message>
    <message>
        <source>滑差步长</source>
        <translation>Passo taxa</translation>
    </message>
    <message>
        <source>电流始值</source>
        <translation>I inicial</translation>
    </message>
    <message>
        <source>电流终值</source>
        <translation>I final</translation>
    </message>
    <message>
        <source>电流步长</source>
        <translation>Passo I</translation>
    </message>
    <message>
        <source>第%1点：%2 %3不在变化范围%4至%5之内，无从计算动作时间：请设置变化范围内的值。</source>
        <translation>Ponto %1: %2 %3 está fora da rampa de %4 a %5, pelo que não se pode contar o tempo de atuação: defina um valor dentro da rampa.</translation>
    </message>
    <message>
        <source>该点：%1 %2不在变化范围%3至%4之内，无从计算动作时间：请设置变化范围内的值。</source>
        <translation>Este ponto: %1 %2 está fora da rampa de %3 a %4, pelo que não se pode contar o tempo de atuação: defina um valor dentro da rampa.</translation>
    </message>
</context>
<context>
    <name>ViewOscillateModel</name>
    <message>
        <source>Test mode</source>
        <translation>Modo de teste</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Modo</translation>
    </message>
    <message>
        <source>From-to</source>
        <translation>Até atuar</translation>
    </message>
    <message>
        <source>Deglitch</source>
        <translation>Tempo anti-ressalto</translation>
    </message>
    <message>
        <source>Oscillate</source>
        <translation>Oscilação</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Porta</translation>
    </message>
    <message>
        <source>Percent</source>
        <translation>Percentagem</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Ângulo</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequência</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Lógica</translation>
    </message>
    <message>
        <source>And</source>
        <translation>E</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>Ou</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Entrada digital</translation>
    </message>
    <message>
        <source>Base</source>
        <translation>Fundamental</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Saída digital</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>Variable port</source>
        <translation>Fase variável</translation>
    </message>
    <message>
        <source>Action value</source>
        <translation>Valor de atuação</translation>
    </message>
    <message>
        <source>Action time</source>
        <translation>Tempo de atuação</translation>
    </message>
</context>
<context>
    <name>ViewOvercurrentCurvePainter</name>
    <message>
        <source>I(A)</source>
        <translation>Corrente(A)</translation>
    </message>
    <message>
        <source>Time(s)</source>
        <translation>Tempo(s)</translation>
    </message>
</context>
<context>
    <name>ViewOvercurrentModel</name>
    <message>
        <source>Current Tol</source>
        <translation>Tol. corrente</translation>
    </message>
    <message>
        <source>故障前时间</source>
        <translation>Tempo pré-falha</translation>
    </message>
    <message>
        <source>电流允许绝对偏差</source>
        <translation>Tol. abs. corrente</translation>
    </message>
    <message>
        <source>仅输出一次</source>
        <translation>Saída única</translation>
    </message>
    <message>
        <source>Time Tol</source>
        <translation>Tol. tempo</translation>
    </message>
    <message>
        <source>OC Directional</source>
        <translation>Direcional</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Ligado</translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>Desligado</translation>
    </message>
    <message>
        <source>时间允许绝对偏差</source>
        <translation>Tol. abs. tempo</translation>
    </message>
    <message>
        <source>Fault VPN</source>
        <translation>Tensão de falha</translation>
    </message>
    <message>
        <source>Max Fault Time</source>
        <translation>Tempo máx. falha</translation>
    </message>
    <message>
        <source>I-Angle</source>
        <translation>Ângulo I</translation>
    </message>
    <message>
        <source>间隔时间</source>
        <translation>Tempo intervalo</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Lógica</translation>
    </message>
    <message>
        <source>And</source>
        <translation>E</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>Ou</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Entrada digital</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Saída digital</translation>
    </message>
    <message>
        <source>Function</source>
        <translation>Função</translation>
    </message>
    <message>
        <source>Curve</source>
        <translation>Curva</translation>
    </message>
    <message>
        <source>Pick-up</source>
        <translation>Arranque</translation>
    </message>
    <message>
        <source>Dial Time</source>
        <translation>Mult. tempo</translation>
    </message>
    <message>
        <source>Inst. Overcurrent</source>
        <translation>Sobrecorrente inst.</translation>
    </message>
    <message>
        <source>故障类型</source>
        <translation>Tipo falha</translation>
    </message>
    <message>
        <source>绝对值</source>
        <translation>Valor</translation>
    </message>
    <message>
        <source>功能</source>
        <translation>Função</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>最小时间</source>
        <translation>T.mín</translation>
    </message>
    <message>
        <source>最大时间</source>
        <translation>T.máx</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Tempo atuação</translation>
    </message>
    <message>
        <source>开入</source>
        <translation>ED</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Não testado</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Aprovado</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Reprovado</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Sem atuação</translation>
    </message>
    <message>
        <source>True</source>
        <translation>Sim</translation>
    </message>
    <message>
        <source>False</source>
        <translation>Não</translation>
    </message>
    <message>
        <source>Time-current curve</source>
        <translation>Curva tempo-corrente</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Sem rearme</translation>
    </message>
    <message>
        <source>第%1点的动作时间范围止于%2，故障须持续%3（含防抖时间%4）才能判断，超过最大故障时间%5：请加长最大故障时间。</source>
        <translation>A janela de atuação do ponto %1 termina em %2: a falha tem de durar %3 (com o tempo anti-ressalto de %4) para a julgar, mais do que o tempo máx. de falha, %5: aumente o tempo máx. de falha.</translation>
    </message>
    <message>
        <source>该点的动作时间范围止于%1，故障须持续%2（含防抖时间%3）才能判断，超过最大故障时间%4：请加长最大故障时间。</source>
        <translation>A janela de atuação deste ponto termina em %1: a falha tem de durar %2 (com o tempo anti-ressalto de %3) para a julgar, mais do que o tempo máx. de falha, %4: aumente o tempo máx. de falha.</translation>
    </message>
    <message>
        <source>I test</source>
        <translation>I teste</translation>
    </message>
</context>
<context>
    <name>ViewPointListModel</name>
    <message>
        <source>第%1点的电压%2超过装置的最大电压%3。</source>
        <translation>O ponto %1 pede %2, além da tensão máxima do aparelho, %3.</translation>
    </message>
    <message>
        <source>第%1点的电流%2超过装置的最大电流%3。</source>
        <translation>O ponto %1 pede %2, além da corrente máxima do aparelho, %3.</translation>
    </message>
    <message>
        <source>该点的电压%1超过装置的最大电压%2。</source>
        <translation>Este ponto pede %1, além da tensão máxima do aparelho, %2.</translation>
    </message>
    <message>
        <source>该点的电流%1超过装置的最大电流%2。</source>
        <translation>Este ponto pede %1, além da corrente máxima do aparelho, %2.</translation>
    </message>
</context>
<context>
    <name>ViewRampOutputModel</name>
    <message>
        <source>From-to</source>
        <translation>Até atuar</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>Contínuo</translation>
    </message>
    <message>
        <source>From-to-From</source>
        <translation>Atuar-retorno</translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Fase</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequência</translation>
    </message>
    <message>
        <source>Test mode</source>
        <translation>Modo de teste</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Automático</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Modo</translation>
    </message>
    <message>
        <source>Deglitch</source>
        <translation>Tempo anti-ressalto</translation>
    </message>
    <message>
        <source>Auto time</source>
        <translation>Tempo automático</translation>
    </message>
    <message>
        <source>Test item</source>
        <translation>Item de teste</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Passo</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Valor final</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Lógica</translation>
    </message>
    <message>
        <source>And</source>
        <translation>E</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>Ou</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Entrada digital</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Saída digital</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Não testado</translation>
    </message>
    <message>
        <source>未动作</source>
        <translation>Sem atuação</translation>
    </message>
</context>
<context>
    <name>ViewRampingModel</name>
    <message>
        <source>没有测试状态，请先添加状态。</source>
        <translation>Não há estados a testar: adicione um primeiro.</translation>
    </message>
    <message>
        <source>状态%1：</source>
        <translation>Estado %1: </translation>
    </message>
    <message>
        <source>步长时间必须大于零。</source>
        <translation>O tempo do passo tem de ser maior que zero.</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>Variable</source>
        <translation>Variável</translation>
    </message>
    <message>
        <source>Test item</source>
        <translation>Item de teste</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Final</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Passo</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Lógica</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Entrada digital</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Fase</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequência</translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>And</source>
        <translation>E</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>Ou</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Saída digital</translation>
    </message>
    <message>
        <source>Function</source>
        <translation>Função</translation>
    </message>
    <message>
        <source>T.nom</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>Dev</source>
        <translation>Desvio</translation>
    </message>
    <message>
        <source>Action Time</source>
        <translation>Tempo de atuação</translation>
    </message>
    <message>
        <source>Action value</source>
        <translation>Valor de atuação</translation>
    </message>
    <message>
        <source>DI</source>
        <translation>ED</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Não testado</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Aprovado</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Reprovado</translation>
    </message>
    <message>
        <source>未复归</source>
        <translation>Sem rearme</translation>
    </message>
    <message>
        <source>步长时间</source>
        <translation>Tempo do passo</translation>
    </message>
</context>
<context>
    <name>ViewSlipFrequencyModel</name>
    <message>
        <source>动作频率</source>
        <translation>Freq. atuação</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Tempo atuação</translation>
    </message>
    <message>
        <source>频率滑差</source>
        <translation>df/dt</translation>
    </message>
    <message>
        <source>低流闭锁</source>
        <translation>Bloq. I baixa</translation>
    </message>
    <message>
        <source>电压闭锁</source>
        <translation>Bloq. U</translation>
    </message>
</context>
<context>
    <name>ViewSlipVoltageModel</name>
    <message>
        <source>动作电压</source>
        <translation>Tensão atuação</translation>
    </message>
    <message>
        <source>动作时间</source>
        <translation>Tempo atuação</translation>
    </message>
    <message>
        <source>电压滑差</source>
        <translation>dU/dt</translation>
    </message>
    <message>
        <source>低流闭锁</source>
        <translation>Bloq. I baixa</translation>
    </message>
</context>
<context>
    <name>ViewSourceTestModel</name>
    <message>
        <source>步长必须大于零。</source>
        <translation>O passo tem de ser maior que zero.</translation>
    </message>
    <message>
        <source>自动时间必须大于零。</source>
        <translation>O tempo automático tem de ser maior que zero.</translation>
    </message>
    <message>
        <source>终值无效。</source>
        <translation>Valor final inválido.</translation>
    </message>
    <message>
        <source>终值位于所选各相的输出之间，无法递变。</source>
        <translation>O valor final está entre as saídas das fases selecionadas: impossível variar.</translation>
    </message>
    <message>
        <source>终值低于当前输出，不能递增。</source>
        <translation>O valor final é inferior à saída: impossível aumentar.</translation>
    </message>
    <message>
        <source>终值高于当前输出，不能递减。</source>
        <translation>O valor final é superior à saída: impossível diminuir.</translation>
    </message>
    <message>
        <source>请先按“+”或“-”设定变化方向。</source>
        <translation>Prima primeiro “+” ou “-” para definir o sentido.</translation>
    </message>
    <message>
        <source>动作时间范围止于%1，每步却只有%2：在其后动作的继电器会被记在下一步。请把步长时间设为至少%1。</source>
        <translation>A janela de atuação termina em %1, mas cada passo dura só %2: um relé que atue depois seria lido no passo seguinte. Defina o tempo do passo para pelo menos %1.</translation>
    </message>
</context>
<context>
    <name>ViewStateSequenceModel</name>
    <message>
        <source>Deglitch</source>
        <translation>Tempo anti-ressalto</translation>
    </message>
    <message>
        <source>States</source>
        <translation>Estados</translation>
    </message>
    <message>
        <source>State </source>
        <translation>Estado </translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Fase</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>Frequência</translation>
    </message>
    <message>
        <source>Trip mode</source>
        <translation>Modo de disparo</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>State time</source>
        <translation>Tempo do estado</translation>
    </message>
    <message>
        <source>Binary</source>
        <translation>Entrada digital</translation>
    </message>
    <message>
        <source>Time+Binary</source>
        <translation>Tempo+entrada</translation>
    </message>
    <message>
        <source>Key-Press</source>
        <translation>Tecla</translation>
    </message>
    <message>
        <source>GPS/IRIG-B</source>
        <translation>GPS/IRIG-B</translation>
    </message>
    <message>
        <source>Out.mode</source>
        <translation>Modo de saída</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>Contínuo</translation>
    </message>
    <message>
        <source>Logic</source>
        <translation>Lógica</translation>
    </message>
    <message>
        <source>And</source>
        <translation>E</translation>
    </message>
    <message>
        <source>Or</source>
        <translation>Ou</translation>
    </message>
    <message>
        <source>Bi Input</source>
        <translation>Entrada digital</translation>
    </message>
    <message>
        <source>Bi Output</source>
        <translation>Saída digital</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>DI</source>
        <translation>ED</translation>
    </message>
    <message>
        <source>Assessment Result</source>
        <translation>Resultado da avaliação</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Início</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Fim</translation>
    </message>
    <message>
        <source>整定时间</source>
        <translation>T.nom</translation>
    </message>
    <message>
        <source>偏差</source>
        <translation>Desvio</translation>
    </message>
    <message>
        <source>实际时间</source>
        <translation>T. real</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>未测试</source>
        <translation>Não testado</translation>
    </message>
    <message>
        <source>通过</source>
        <translation>Aprovado</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Reprovado</translation>
    </message>
    <message>
        <source>Event Recorder</source>
        <translation>Registo de eventos</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Signal Name</source>
        <translation>Nome do sinal</translation>
    </message>
    <message>
        <source>Slope</source>
        <translation>Transição</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>评估%1的时间范围为%2至%3，所选状态却最长只持续%4，试验未开始。</source>
        <translation>A avaliação %1 julga de %2 a %3, mas os seus estados duram no máximo %4: o teste não foi iniciado.</translation>
    </message>
    <message>
        <source>评估%1的时间范围为%2至%3，所选状态却至少持续%4，试验未开始。</source>
        <translation>A avaliação %1 julga de %2 a %3, mas os seus estados duram pelo menos %4: o teste não foi iniciado.</translation>
    </message>
</context>
<context>
    <name>ViewStdSourceModel</name>
    <message>
        <source>分元无效</source>
        <translation>Não aplicável</translation>
    </message>
    <message>
        <source>三元件</source>
        <translation>3 elementos</translation>
    </message>
    <message>
        <source>二元件</source>
        <translation>2 elementos</translation>
    </message>
    <message>
        <source>A元件</source>
        <translation>Elemento A</translation>
    </message>
    <message>
        <source>B元件</source>
        <translation>Elemento B</translation>
    </message>
    <message>
        <source>C元件</source>
        <translation>Elemento C</translation>
    </message>
    <message>
        <source>单项有功功率</source>
        <translation>Potência ativa monofásica</translation>
    </message>
    <message>
        <source>三相四线(Y型接法)有功功率</source>
        <translation>Trifásico 4 fios (Y) potência ativa</translation>
    </message>
    <message>
        <source>三相三线(V型接法)有功功率</source>
        <translation>Trifásico 3 fios (V) potência ativa</translation>
    </message>
    <message>
        <source>三相三线(△型接法)有功功率</source>
        <translation>Trifásico 3 fios (Δ) potência ativa</translation>
    </message>
    <message>
        <source>三相四线(Y型接法)真无功功率</source>
        <translation>Trifásico 4 fios (Y) potência reativa verdadeira</translation>
    </message>
    <message>
        <source>三相三线(V型接法)真无功功率</source>
        <translation>Trifásico 3 fios (V) potência reativa verdadeira</translation>
    </message>
    <message>
        <source>三相三线(△型接法)真无功功率</source>
        <translation>Trifásico 3 fios (Δ) potência reativa verdadeira</translation>
    </message>
    <message>
        <source>三元件90°无功功率</source>
        <translation>3 elementos 90° potência reativa</translation>
    </message>
    <message>
        <source>二元件90°无功功率</source>
        <translation>2 elementos 90° potência reativa</translation>
    </message>
    <message>
        <source>工作方式</source>
        <translation>Modo de trabalho</translation>
    </message>
    <message>
        <source>功率因数</source>
        <translation>Fator de potência</translation>
    </message>
    <message>
        <source>功率相角</source>
        <translation>Ângulo pot.</translation>
    </message>
    <message>
        <source>分元选择</source>
        <translation>Elemento</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Frequência</translation>
    </message>
    <message>
        <source>电压幅值</source>
        <translation>Tensão</translation>
    </message>
    <message>
        <source>电流幅值</source>
        <translation>Corrente</translation>
    </message>
    <message>
        <source>有功功率</source>
        <translation>Potência ativa</translation>
    </message>
    <message>
        <source>无功功率</source>
        <translation>Potência reativa</translation>
    </message>
    <message>
        <source>视在功率</source>
        <translation>Potência aparente</translation>
    </message>
    <message>
        <source>幅值</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>相位</source>
        <translation>Fase</translation>
    </message>
    <message>
        <source>功率</source>
        <translation>Potência</translation>
    </message>
</context>
</TS>
