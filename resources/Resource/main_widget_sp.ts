<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES" sourcelanguage="en_US">
<context>
    <name>Widget</name>
    <message>
        <source>Connect</source>
        <translation>Conectar</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Conexión</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>Modle</source>
        <translation>Modo</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Please enter a valid IP address!</source>
        <translation>¡¡ introduzca una dirección IP válida!</translation>
    </message>
    <message>
        <source>Please select an IP address</source>
        <translation>Please Select an IP Direction</translation>
    </message>
    <message>
        <source>Remark</source>
        <translation>Notar</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Búscar Canal</translation>
    </message>
    <message>
        <source>Search ended!</source>
        <translation>¡Búsqueda finalizada!</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>Buscando</translation>
    </message>
    <message>
        <source>Select Mixer from List</source>
        <translation>Seleccionar Consola Digital de la lista</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>Status：</source>
        <translation>Estado:</translation>
    </message>
    <message>
        <source>Mixer address</source>
        <translation>Dirección IP de la consola</translation>
    </message>
    <message>
        <source>Mixer console</source>
        <translation>Consola del mezclador</translation>
    </message>
    <message>
        <source>Mixers found</source>
        <translation>Consolas encontradas</translation>
    </message>
</context>
<context>
    <name>loading</name>
    <message>
        <source>Loading</source>
        <translation>En carga</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>En carga</translation>
    </message>
</context>
<context>
    <name>PageDialogs</name>
    <message>
        <source>Don&apos;t let this page open more dialogs</source>
        <translation>No permitir que esta página abra más diálogos</translation>
    </message>
</context>
<context>
    <name>DownloadProgress</name>
    <message>
        <source>Downloading</source>
        <translation>Descargando</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 de %2</translation>
    </message>
</context>
</TS>
